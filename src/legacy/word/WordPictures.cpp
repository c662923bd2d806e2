#include "legacy/word/WordPictures.h"

#include "compound/CompoundStream.h"
#include "legacy/pictures/BlipWriter.h"
#include "legacy/pictures/PictureInput.h"
#include "legacy/word/WordFib.h"

#include <optional>

namespace quillet {

namespace {

constexpr int kBlipStoreEntry = 0xF007;
constexpr uint16_t kPictureHeaderSize = 68;
// A picture block that holds a shape, and perhaps its BLIP.
constexpr uint16_t kShapeMappingMode = 100;
// Fixed part of a BLIP store entry's body, before its name.
constexpr uint32_t kEntryFixedBytes = 36;

bool isRecordInBlipRange(int type)
{
    return type >= 0xF018 && type <= 0xF117;
}

// Finds the next block of the "Data" stream that holds a picture after its
// shape, passing over blocks without one, and leaves the stream at the
// picture; left counts down the bytes of the blocks. False when there is no
// such block or the blocks are not well formed.
bool nextPictureBlock(CompoundStream& data, PictureInput& in, int64_t& left, int64_t& blockEnd)
{
    for (;;) {
        if (data.remaining() < 8)
            return false;
        int64_t blockStart = data.size() - data.remaining();
        uint32_t blockLength = in.readU32();
        uint16_t headerSize = in.readU16();
        uint16_t mappingMode = in.readU16();
        // Word writes blocks back to back; LibreOffice pads them to 4 bytes.
        const int64_t aligned = (blockStart + 3) / 4 * 4;
        if (headerSize != kPictureHeaderSize && aligned != blockStart && aligned + 8 <= data.size()) {
            data.seek(aligned);
            blockStart = aligned;
            blockLength = in.readU32();
            headerSize = in.readU16();
            mappingMode = in.readU16();
        }
        left -= blockLength;
        if (left < 0 || headerSize != kPictureHeaderSize)
            return false;
        if (mappingMode != kShapeMappingMode) {
            // The data of a form field or a link, or a picture kept without
            // a shape: nothing of it is written.
            if (blockLength < 8 || !data.seek(blockStart + blockLength))
                return false;
            if (left < 1)
                return false;
            continue;
        }
        in.skip(60 + 2);
        in.readU16();
        const uint32_t shapeLength = in.readU32();
        in.skip(shapeLength);
        if (int64_t(blockLength) - 76 - int64_t(shapeLength) > 0) {
            blockEnd = blockStart + blockLength;
            return true;
        }
        if (left < 1)
            return false;
    }
}

// Writes the picture of a block as image<number>; none when the walk must
// end there.
std::optional<BlipResult> writeBlockPicture(PictureInput& in, const std::string& folder, int64_t number, int* openError)
{
    BlipHeader header = readBlipHeader(in);
    if (header.type == kBlipStoreEntry && (header.instance == 0 || header.instance == 1)) {
        in.skip(header.length);
        return BlipResult::Passed;
    }
    if (header.type == kBlipStoreEntry) {
        in.skip(33);
        in.skip(in.readU8() + 2u);
        header = readBlipHeader(in);
    } else if (!isRecordInBlipRange(header.type)) {
        return std::nullopt;
    }
    const BlipResult result = writeBlip(in, header, folder, number, openError);
    if (result == BlipResult::NotBlip) {
        if (header.type < 0xF020 || header.type > 0xF028)
            return std::nullopt;
        in.skip(header.length);
    }
    return result;
}

}  // namespace

int extractWordDrawingGroupPictures(CompoundStream& table, const WordFib& fib, CompoundStream& wordDocument,
                                    CompoundFile&, const std::string& folder, int64_t& counter)
{
    if (!table.seek(fib.drawingGroupOffset))
        return 0;
    StreamPictureInput in(table);
    if (!skipDrawingGroupHeader(in))
        return 0;
    const BlipHeader store = readBlipHeader(in);
    if (store.type != 0xF001)
        return 0;
    StreamPictureInput pictures(wordDocument);
    int openError = 0;
    // The store's instance counts its entries, but some stores hold more
    // than they count: the walk goes to the container's end.
    const uint64_t storeEnd = in.consumed() + store.length;
    while (in.consumed() + 8 <= storeEnd && table.remaining() >= 8) {
        ++counter;
        const BlipHeader header = readBlipHeader(in);
        if (header.type != kBlipStoreEntry) {
            --counter;
            return 0;
        }
        if (header.instance == 0 || header.instance == 1) {
            in.skip(header.length);
            --counter;
            continue;
        }
        in.skip(20);
        in.readU32();  // size
        const uint32_t references = in.readU32();
        const uint32_t delayOffset = in.readU32();
        in.skip(1);
        const uint8_t nameBytes = in.readU8();
        in.skip(nameBytes + 2u);
        // A BLIP kept inside the entry is passed over with it.
        const uint32_t read = kEntryFixedBytes + nameBytes;
        if (header.length > read)
            in.skip(header.length - read);
        if (static_cast<int32_t>(references) < 1 || !wordDocument.seek(delayOffset)) {
            --counter;
            continue;
        }
        const BlipResult result = writeBlip(pictures, readBlipHeader(pictures), folder, counter, &openError);
        if (result != BlipResult::Written)
            --counter;
        if (result == BlipResult::OpenFailed)
            return openError;
    }
    return 0;
}

int extractWordDataPictures(CompoundStream& data, int64_t size, const std::string& folder, int64_t& counter)
{
    StreamPictureInput in(data);
    int64_t left = size;
    int openError = 0;
    while (left > 0) {
        int64_t blockEnd = 0;
        if (!nextPictureBlock(data, in, left, blockEnd))
            return 0;
        const std::optional<BlipResult> result = writeBlockPicture(in, folder, counter + 1, &openError);
        if (!result)
            return 0;
        if (*result == BlipResult::Written)
            ++counter;
        if (*result == BlipResult::OpenFailed)
            return openError;
        // Whatever the block holds after its picture is passed over.
        const int64_t at = data.size() - data.remaining();
        if (blockEnd > at && blockEnd <= data.size())
            data.skip(blockEnd - at);
    }
    return 0;
}

}  // namespace quillet
