#pragma once

#include "compound/CompoundStream.h"
#include "legacy/word/Word6Fib.h"
#include "legacy/word/WordPieceReader.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class CompoundFile;
class DocumentRecord;

// The text of a Word 6.0 or Word 95 document: the pieces of its piece table
// or, in a non-complex file, the one run of text, decoded through the
// document's code page, or 16-bit units when the file says its characters
// are extended. One reader serves one run; its answers follow the Word
// 97-2003 reader's.
// These files hold no pictures the picture extraction knows.
class Word6BinaryReader final : public WordPieceReader {
public:
    explicit Word6BinaryReader(CompoundFile& file) : WordPieceReader(file) {}

private:
    int open() override;
    void appendPiece(const WordPiece& piece, int64_t& budget) override;

    Word6Fib fib_;
};

// True when the "WordDocument" stream holds the older block (isWord6Layout).
bool isWord6Document(CompoundFile& file);
int exportWord6Document(CompoundFile& file, const std::string& folder, uint32_t flags,
                        DocumentRecord* record = nullptr);
int extractWord6DocumentText(CompoundFile& file, QString& text);

}  // namespace quillet
