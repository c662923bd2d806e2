#pragma once

#include "output/Utf8LineEncoder.h"
#include "platform/StdioFile.h"

#include <QSet>
#include <QString>

#include <memory>
#include <string>

namespace quillet {

// Where one reader run puts its text. With a folder, "1.txt" there receives
// the appended bytes unchanged (UTF-16LE or UTF-8, no byte-order mark),
// through a buffer of its own. Without one, an in-memory copy keeps only
// ASCII, the common CJK ideographs and a set of CJK and typographic
// punctuation, without field codes; a sink that writes a file keeps no such
// copy, so an export holds no second copy of the document.
class DocumentRecord;

class TextSink {
public:
    // What a file receives of appendWide().
    enum class FileForm {
        Appended,  // the units as they are, UTF-16LE
        // The UTF-8 lines a successful conversion ends with, in a draft beside
        // "1.txt"; finishTextFile() then makes it "1.txt", or gives "1.txt" the
        // UTF-16LE text when the conversion failed. Text that UTF-8 cannot
        // give back unchanged (an unpaired surrogate), or bytes appended raw,
        // turn the sink back to the Appended form, "1.txt" and all.
        Utf8Lines,
    };

    // An empty folder keeps the text in memory only.
    explicit TextSink(const std::string& folder, FileForm form = FileForm::Appended);
    ~TextSink();
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    void appendUtf8(const std::string& utf8) { appendUtf8(utf8.data(), utf8.size()); }
    void appendUtf8(const char* utf8, size_t size);
    void appendWide(const std::u16string& text) { appendWide(text.data(), text.size()); }
    void appendWide(const char16_t* units, size_t count);
    // To the file only.
    void writeRaw(const std::string& bytes);

    // Where the file's next byte will go, for part marks.
    void setRecord(DocumentRecord* record) { record_ = record; }
    // What is appended from here on belongs to a new part (with a record and
    // a file only).
    void beginPart(const char* kind, int index, const std::string& name = std::string());
    // Whether the UTF-8 appended so far is empty or ends a line.
    bool endsLine() const { return lastUtf8_ == '\0' || lastUtf8_ == '\n'; }

    // The filtered text; empty for a sink made with a folder.
    QString text() const { return text_; }
    bool hasFile() const { return file_ != nullptr && file_->isOpen(); }
    // The error number of the text file's first failure (its creation), 0
    // when there is none or no file was asked for.
    int error() const { return error_; }
    // "1.txt", whichever file holds the text for now.
    const std::string& filePath() const { return path_; }

    // Writes what is buffered and closes the file; returns error(). A write
    // that fails, here or while appending, removes the file and raises
    // WriteError.
    int close();
    // Closes and deletes the file.
    void discard();

    static constexpr size_t kBufferSize = 64 * 1024;

private:
    void filterInto(const char16_t* units, size_t count);
    void encode(const char16_t* units, size_t count);
    void returnToUtf16(char16_t waitingHigh, const char16_t* units, size_t count);
    void write(const void* bytes, size_t count);
    void flush();
    void writeThrough(const void* bytes, size_t count);

    std::unique_ptr<StdioFile> file_;
    std::string path_;
    QString text_;
    int inFieldCode_ = 0;
    int error_ = 0;
    QSet<QChar> keptPunctuation_;
    std::unique_ptr<char[]> pending_;  // bytes for the file, not yet written
    size_t held_ = 0;                  // of them
    uint64_t flushed_ = 0;             // bytes handed to the file before them
    DocumentRecord* record_ = nullptr;
    char lastUtf8_ = '\0';
    // Set while the file is a draft of UTF-8 lines.
    std::unique_ptr<Utf8LineEncoder> encoder_;
};

}  // namespace quillet
