#pragma once

#include "compound/CompoundStream.h"
#include "legacy/WordFib.h"
#include "legacy/WordPiece.h"
#include "output/TextSink.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class CompoundFile;

// The text of a binary Word 97-2003 document, read piece by piece through
// its piece table. One reader serves one run.
class WordBinaryReader {
public:
    explicit WordBinaryReader(CompoundFile& file) : file_(file) {}
    WordBinaryReader(const WordBinaryReader&) = delete;
    WordBinaryReader& operator=(const WordBinaryReader&) = delete;

    // With flag 0x10, "1.txt" receives every piece followed by CR LF; with
    // flag 0x01 the pictures are written. Returns 0, 4099 or 4102.
    int exportDocument(const std::string& folder, uint32_t flags);
    // The filtered text of every piece, without separators; text is assigned
    // on 0 only. Returns 0, 4099 or 4102.
    int extractText(QString& text);

private:
    int open();
    void appendPieces(bool separated);
    void appendPiece(const WordPiece& piece, int64_t& budget);
    void writePictures(const std::string& folder);

    CompoundFile& file_;
    std::unique_ptr<CompoundStream> wordDocument_;
    std::unique_ptr<CompoundStream> table_;
    std::unique_ptr<CompoundStream> data_;
    std::unique_ptr<TextSink> sink_;
    WordFib fib_;
    std::vector<WordPiece> pieces_;
    std::vector<char16_t> block_;  // one block of a piece
    std::u16string kept_;          // the block without its fields
};

// The entries of the dispatch: Word 97-2003 documents, and Word 6.0 and
// Word 95 documents through Word6BinaryReader.
int exportWordDocument(CompoundFile& file, const std::string& folder, uint32_t flags);
int extractWordDocumentText(CompoundFile& file, QString& text);

}  // namespace quillet
