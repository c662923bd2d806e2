#pragma once

#include "compound/CompoundStream.h"
#include "legacy/word/WordPiece.h"
#include "legacy/word/WordText.h"
#include "output/TextSink.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class CompoundFile;
class DocumentRecord;

// A run over a binary Word document's pieces, into "1.txt" or the in-memory
// text. Each version reads its own header and piece table and decodes its own
// pieces. One reader serves one run.
class WordPieceReader {
public:
    virtual ~WordPieceReader() = default;
    WordPieceReader(const WordPieceReader&) = delete;
    WordPieceReader& operator=(const WordPieceReader&) = delete;

    // With flag 0x10, "1.txt" receives the pieces joined as they are and one
    // line break after them; with flag 0x01 the pictures the version knows
    // are written. Returns 0, 4099 or 4102.
    // With a record, the properties' parts (body, notes, headers...) are
    // marked in it.
    int exportDocument(const std::string& folder, uint32_t flags, DocumentRecord* record = nullptr);
    // The filtered text of the pieces; text is assigned on 0 only. Returns
    // 0, 4099 or 4102.
    int extractText(QString& text);

protected:
    explicit WordPieceReader(CompoundFile& file) : file_(file) {}

    // Fills pieces_; anything but 0 ends the run.
    virtual int open() = 0;
    // Adds the piece's text through appendText, taking no more stream bytes
    // than budget, and lowers budget by what it took.
    virtual void appendPiece(const WordPiece& piece, int64_t& budget) = 0;
    // The error number of a picture file that could not be made, else 0.
    virtual int writePictures(const std::string&) { return 0; }

    // 4102 for an encrypted file, 4099 without a "WordDocument" stream,
    // otherwise 0 with wordDocument_ open.
    int openWordDocument();
    // Text of the document, in order; its fields may span pieces.
    void appendText(const char16_t* units, size_t count);
    // A story that starts at character position `start`, after the main text.
    void addStory(int32_t start, const char* kind);
    // How many of the count units from position cp on belong to cp's story;
    // a story that starts at cp begins its part.
    size_t storyRun(int32_t cp, size_t count);

    CompoundFile& file_;
    std::unique_ptr<CompoundStream> wordDocument_;
    std::unique_ptr<TextSink> sink_;
    std::vector<WordPiece> pieces_;

private:
    void appendPieces();

    struct Story {
        int32_t start;
        const char* kind;
    };
    std::vector<Story> stories_;  // by start
    size_t storiesBegun_ = 0;
    FieldCodeFilter fields_;
    std::u16string kept_;  // what the filter let through of the last text
};

}  // namespace quillet
