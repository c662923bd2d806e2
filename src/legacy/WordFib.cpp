#include "legacy/WordFib.h"

#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"

#include <quillet/quillet.h>

namespace quillet {
namespace {

constexpr uint16_t kEncryptedFlag = 0x0100;
constexpr uint16_t kOneTableFlag = 0x0200;
constexpr uint16_t kShortCount = 14;
constexpr uint16_t kLongCount = 22;
constexpr int64_t kPairsOffset = 154;

void moveTo(CompoundStream& stream, int64_t offset)
{
    if (!stream.seek(offset))
        throw CompoundFileError();
}

uint16_t u16At(CompoundStream& stream, int64_t offset)
{
    moveTo(stream, offset);
    return stream.readU16();
}

uint32_t u32At(CompoundStream& stream, int64_t offset)
{
    moveTo(stream, offset);
    return stream.readU32();
}

}  // namespace

int WordFib::read(CompoundStream& stream)
{
    const uint16_t flags = u16At(stream, 10);
    encrypted = (flags & kEncryptedFlag) != 0;
    useOneTable = (flags & kOneTableFlag) != 0;
    if (u16At(stream, 32) != kShortCount)
        return WordStructureMissing;
    if (u16At(stream, 62) != kLongCount)
        return WordStructureMissing;
    // Past this point an encrypted block is ciphertext: its counts mean nothing.
    if (encrypted)
        return Success;
    mainTextCharacters = u32At(stream, 76);
    const uint16_t pairs = u16At(stream, 152);
    if (static_cast<int64_t>(pairs) * 8 > stream.remaining())
        return WordStructureMissing;
    pieceTableOffset = u32At(stream, 418);
    pieceTableSize = u32At(stream, 422);
    drawingGroupOffset = u32At(stream, 554);
    drawingGroupSize = u32At(stream, 558);

    // The newer-version tail is not used, but it belongs to the block.
    moveTo(stream, kPairsOffset + static_cast<int64_t>(pairs) * 8);
    stream.skip(2);
    const uint16_t version = stream.readU16();
    stream.skip(version == 0x0112 ? 16 : 4);
    return Success;
}

}  // namespace quillet
