#pragma once

#include "compound/CompoundStream.h"
#include "legacy/Word6Fib.h"
#include "legacy/WordPiece.h"
#include "output/TextSink.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class CompoundFile;

// The text of a Word 6.0 or Word 95 document: the pieces of its piece table
// or, in a non-complex file, the one run of text, decoded through the
// document's code page. One reader serves one run; its answers follow the
// Word 97-2003 reader's.
class Word6BinaryReader {
public:
    explicit Word6BinaryReader(CompoundFile& file) : file_(file) {}
    Word6BinaryReader(const Word6BinaryReader&) = delete;
    Word6BinaryReader& operator=(const Word6BinaryReader&) = delete;

    // With flag 0x10, "1.txt" receives every piece followed by CR LF; these
    // files hold no pictures the picture extraction knows. Returns 0, 4099
    // or 4102.
    int exportDocument(const std::string& folder, uint32_t flags);
    // The filtered text of every piece, without separators; text is assigned
    // on 0 only. Returns 0, 4099 or 4102.
    int extractText(QString& text);

private:
    int open();
    void appendPieces(bool separated);
    std::u16string pieceText(const WordPiece& piece, int64_t& budget);

    CompoundFile& file_;
    std::unique_ptr<CompoundStream> wordDocument_;
    std::unique_ptr<TextSink> sink_;
    Word6Fib fib_;
    std::vector<WordPiece> pieces_;
};

// True when the "WordDocument" stream holds the older block (isWord6Layout).
bool isWord6Document(CompoundFile& file);
int exportWord6Document(CompoundFile& file, const std::string& folder, uint32_t flags);
int extractWord6DocumentText(CompoundFile& file, QString& text);

}  // namespace quillet
