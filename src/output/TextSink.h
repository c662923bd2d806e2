#pragma once

#include "platform/StdioFile.h"

#include <QSet>
#include <QString>

#include <memory>
#include <string>

namespace quillet {

// Where one reader run puts its text: "1.txt" in the output folder receives
// the appended bytes unchanged (UTF-16LE or UTF-8, no byte-order mark), while
// an in-memory copy keeps only ASCII, the common CJK ideographs and a set of
// CJK and typographic punctuation, without field codes.
class TextSink {
public:
    // An empty folder keeps the text in memory only; without keepsText the
    // file alone receives it, so that memory stays flat in document size.
    explicit TextSink(const std::string& folder, bool keepsText = true);
    ~TextSink();
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    void appendUtf8(const std::string& utf8) { appendUtf8(utf8.data(), utf8.size()); }
    void appendUtf8(const char* utf8, size_t size);
    void appendWide(const std::u16string& text) { appendWide(text.data(), text.size()); }
    void appendWide(const char16_t* units, size_t count);
    // To the file only.
    void writeRaw(const std::string& bytes);

    QString text() const { return text_; }
    bool hasFile() const { return file_ != nullptr && file_->isOpen(); }
    const std::string& filePath() const { return path_; }

    void close();
    // Closes and deletes the file.
    void discard();

private:
    void filterInto(const char16_t* units, size_t count);

    std::unique_ptr<StdioFile> file_;
    std::string path_;
    QString text_;
    int inFieldCode_ = 0;
    bool keepsText_ = true;
    QSet<QChar> keptPunctuation_;
};

}  // namespace quillet
