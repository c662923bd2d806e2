#include "legacy/word/WordFib.h"

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
constexpr uint16_t kStylesPair = 1;
constexpr uint16_t kParagraphBinsPair = 13;
constexpr uint16_t kListsPair = 73;
constexpr uint16_t kListOverridesPair = 74;

}  // namespace

int WordFib::read(CompoundStream& stream)
{
    const uint16_t flags = stream.readU16At(10);
    encrypted = (flags & kEncryptedFlag) != 0;
    useOneTable = (flags & kOneTableFlag) != 0;
    if (stream.readU16At(32) != kShortCount)
        return WordStructureMissing;
    if (stream.readU16At(62) != kLongCount)
        return WordStructureMissing;
    // Past this point an encrypted block is ciphertext: its counts mean nothing.
    if (encrypted)
        return Success;
    mainTextCharacters = stream.readU32At(76);
    for (int i = 0; i < 7; ++i)
        storyCharacters[i] = stream.readU32At(80 + 4 * i);
    const uint16_t pairs = stream.readU16At(152);
    if (static_cast<int64_t>(pairs) * 8 > stream.remaining())
        return WordStructureMissing;
    pieceTableOffset = stream.readU32At(418);
    pieceTableSize = stream.readU32At(422);
    drawingGroupOffset = stream.readU32At(554);
    drawingGroupSize = stream.readU32At(558);
    const auto readPair = [&](uint16_t index, uint32_t& offset, uint32_t& size) {
        if (index >= pairs)
            return;
        offset = stream.readU32At(kPairsOffset + index * 8);
        size = stream.readU32At(kPairsOffset + index * 8 + 4);
    };
    readPair(kStylesPair, stylesOffset, stylesSize);
    readPair(kParagraphBinsPair, paragraphBinsOffset, paragraphBinsSize);
    readPair(kListsPair, listsOffset, listsSize);
    readPair(kListOverridesPair, listOverridesOffset, listOverridesSize);

    // The newer-version tail is not used, but it belongs to the block.
    const uint16_t version = stream.readU16At(kPairsOffset + static_cast<int64_t>(pairs) * 8 + 2);
    stream.skip(version == 0x0112 ? 16 : 4);
    return Success;
}

}  // namespace quillet
