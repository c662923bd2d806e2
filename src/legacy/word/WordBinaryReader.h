#pragma once

#include "compound/CompoundStream.h"
#include "legacy/word/WordFib.h"
#include "legacy/word/WordListNumbering.h"
#include "legacy/word/WordParagraphLists.h"
#include "legacy/word/WordPieceReader.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class CompoundFile;
class DocumentRecord;

// The text of a binary Word 97-2003 document, read piece by piece through
// its piece table. One reader serves one run.
class WordBinaryReader final : public WordPieceReader {
public:
    explicit WordBinaryReader(CompoundFile& file) : WordPieceReader(file) {}

private:
    int open() override;
    void appendPiece(const WordPiece& piece, int64_t& budget) override;
    int writePictures(const std::string& folder) override;
    void readLists();
    // Text of pieces_[piece] from character position cp on, each list
    // paragraph after its label.
    void appendLabelled(const char16_t* units, size_t count, size_t piece, int32_t cp);

    std::unique_ptr<CompoundStream> table_;
    std::unique_ptr<CompoundStream> data_;
    WordFib fib_;
    std::vector<char16_t> block_;  // one block of a piece
    WordParagraphLists paragraphs_;
    WordListNumbering numbering_;
    bool labelled_ = false;        // some paragraph belongs to a list that exists
    bool paragraphStarts_ = true;  // the next unit begins a paragraph
    std::u16string label_;
};

// The entries of the dispatch: Word 97-2003 documents, and Word 6.0 and
// Word 95 documents through Word6BinaryReader.
int exportWordDocument(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record = nullptr);
int extractWordDocumentText(CompoundFile& file, QString& text);

}  // namespace quillet
