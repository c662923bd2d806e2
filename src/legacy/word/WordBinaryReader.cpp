#include "legacy/word/WordBinaryReader.h"

#include "compound/CompoundFile.h"
#include "legacy/word/Word6BinaryReader.h"
#include "legacy/word/WordPictures.h"
#include "legacy/word/WordText.h"

#include <quillet/quillet.h>

#include <algorithm>

namespace quillet {
namespace {

// Even, so that a block never splits a UTF-16 unit.
constexpr int64_t kBlockBytes = 64 * 1024;

}  // namespace

int WordBinaryReader::open()
{
    const int opened = openWordDocument();
    if (opened != Success)
        return opened;
    const int fibResult = fib_.read(*wordDocument_);
    if (fibResult != Success)
        return fibResult;
    if (fib_.encrypted)
        return Encrypted;
    table_ = file_.openStream(fib_.useOneTable ? "1Table" : "0Table");
    if (!table_)
        return WordStructureMissing;
    return WordPiece::readTable(*table_, fib_.pieceTableOffset, pieces_);
}

// The piece goes to the sink in blocks, so no piece is held whole.
void WordBinaryReader::appendPiece(const WordPiece& piece, int64_t& budget)
{
    // A piece that starts outside the stream has no text of its own.
    if (!wordDocument_->seek(piece.byteOffset))
        return;
    const int64_t characters = std::max<int64_t>(int64_t(piece.endCharacter) - piece.firstCharacter, 0);
    int64_t bytes = piece.unicode ? characters * 2 : characters;
    bytes = std::min({bytes, wordDocument_->remaining(), budget});
    budget -= bytes;
    block_.resize(kBlockBytes / 2);
    while (bytes > 0) {
        const size_t take = static_cast<size_t>(std::min(bytes, piece.unicode ? kBlockBytes : kBlockBytes / 2));
        size_t units = take;
        if (piece.unicode) {
            // UTF-16LE units land as they are; an odd last byte is passed over.
            units = take / 2;
            wordDocument_->readBytes(block_.data(), units * 2);
            wordDocument_->skip(static_cast<int64_t>(take % 2));
        } else {
            // Widened from the back, so each byte is read before its unit is written.
            auto* bytesAt = reinterpret_cast<uint8_t*>(block_.data());
            wordDocument_->readBytes(bytesAt, take);
            for (size_t i = take; i-- > 0;)
                block_[i] = windows1252Character(bytesAt[i]);
        }
        appendText(block_.data(), units);
        bytes -= static_cast<int64_t>(take);
    }
}

void WordBinaryReader::writePictures(const std::string& folder)
{
    int64_t counter = 0;
    if (fib_.drawingGroupSize > 0 &&
        !extractWordDrawingGroupPictures(*table_, fib_, *wordDocument_, file_, folder, counter))
        return;
    data_ = file_.openStream("Data");
    if (data_ && data_->status() == 0)
        extractWordDataPictures(*data_, data_->remaining(), folder, counter);
}

// Word 6.0 and Word 95 files fail the Word 97 block's checks; only then does
// their version number lead to the older layout, so every file the Word 97
// reader reads keeps its answer.
int exportWordDocument(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    int result = WordBinaryReader(file).exportDocument(folder, flags);
    if (result == WordStructureMissing && isWord6Document(file))
        result = exportWord6Document(file, folder, flags);
    return result;
}

int extractWordDocumentText(CompoundFile& file, QString& text)
{
    int result = WordBinaryReader(file).extractText(text);
    if (result == WordStructureMissing && isWord6Document(file))
        result = extractWord6DocumentText(file, text);
    return result;
}

}  // namespace quillet
