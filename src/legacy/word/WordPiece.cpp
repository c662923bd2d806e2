#include "legacy/word/WordPiece.h"

#include "compound/CompoundStream.h"

#include <quillet/quillet.h>

#include <algorithm>

namespace quillet {
namespace {

constexpr uint8_t kPropertyBlock = 1;
constexpr uint8_t kPieceList = 2;
constexpr uint32_t kCompressedBit = 0x40000000;
constexpr int64_t kPositionSize = 4;
constexpr int64_t kDescriptorSize = 8;

}  // namespace

int WordPiece::readTable(CompoundStream& table, uint32_t offset, std::vector<WordPiece>& pieces, bool eightBitOnly)
{
    pieces.clear();
    // A failed seek would leave the stream at its start and read other data.
    if (!table.seek(offset))
        return WordStructureMissing;
    uint8_t kind = table.readU8();
    while (kind == kPropertyBlock) {
        table.skip(table.readU16());
        kind = table.readU8();
    }
    if (kind != kPieceList)
        return WordStructureMissing;

    const int64_t listSize = std::min<int64_t>(table.readU32(), table.remaining());
    const int64_t count = std::max<int64_t>(listSize - kPositionSize, 0) / (kPositionSize + kDescriptorSize);
    if (count == 0)
        return Success;

    std::vector<int32_t> positions(static_cast<size_t>(count) + 1);
    for (int32_t& position : positions)
        position = static_cast<int32_t>(table.readU32());
    pieces.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < pieces.size(); ++i) {
        table.skip(2);
        const uint32_t filePosition = table.readU32();
        table.skip(2);
        WordPiece& piece = pieces[i];
        piece.firstCharacter = positions[i];
        piece.endCharacter = positions[i + 1];
        if (eightBitOnly) {
            piece.byteOffset = filePosition;
            continue;
        }
        piece.unicode = (filePosition & kCompressedBit) == 0;
        piece.byteOffset = piece.unicode ? filePosition : (filePosition & ~kCompressedBit) / 2;
    }
    return Success;
}

}  // namespace quillet
