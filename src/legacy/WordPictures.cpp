#include "legacy/BinaryPictures.h"

#include "compound/CompoundStream.h"
#include "legacy/BlipWriter.h"
#include "legacy/PictureInput.h"
#include "legacy/WordFib.h"

namespace quillet {

namespace {

constexpr int kBlipStoreEntry = 0xF007;
// Fixed part of a BLIP store entry's body, before its name.
constexpr uint32_t kEntryFixedBytes = 36;

bool isRecordInBlipRange(int type) { return type >= 0xF018 && type <= 0xF117; }

}  // namespace

bool extractWordDrawingGroupPictures(CompoundStream& table, const WordFib& fib, CompoundStream& wordDocument,
                                     CompoundFile&, const std::string& folder, int64_t& counter)
{
    if (!table.seek(fib.drawingGroupOffset))
        return true;
    StreamPictureInput in(table);
    if (!skipDrawingGroupHeader(in))
        return true;
    const BlipHeader store = readBlipHeader(in);
    if (store.type != 0xF001)
        return true;
    StreamPictureInput pictures(wordDocument);
    for (int entry = 0; entry < store.instance; ++entry) {
        ++counter;
        const BlipHeader header = readBlipHeader(in);
        if (header.type != kBlipStoreEntry) {
            --counter;
            return true;
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
        const BlipResult result = writeBlip(pictures, readBlipHeader(pictures), folder, counter);
        if (result != BlipResult::Written)
            --counter;
        if (result == BlipResult::OpenFailed)
            return false;
    }
    return true;
}

bool extractWordDataPictures(CompoundStream& data, int64_t size, const std::string& folder, int64_t& counter)
{
    StreamPictureInput in(data);
    int64_t left = size;
    while (left > 0) {
        ++counter;
        int64_t blockEnd = 0;
        for (;;) {
            if (data.remaining() < 8)
                return --counter, true;
            int64_t blockStart = data.size() - data.remaining();
            uint32_t blockLength = in.readU32();
            uint16_t headerSize = in.readU16();
            uint16_t mappingMode = in.readU16();
            // Word writes blocks back to back; LibreOffice pads them to 4 bytes.
            const int64_t aligned = (blockStart + 3) / 4 * 4;
            if ((headerSize != 68 || mappingMode != 100) && aligned != blockStart && aligned + 8 <= data.size()) {
                data.seek(aligned);
                blockStart = aligned;
                blockLength = in.readU32();
                headerSize = in.readU16();
                mappingMode = in.readU16();
            }
            left -= blockLength;
            if (left < 0)
                return --counter, true;
            if (headerSize != 68 || mappingMode != 100)
                return --counter, true;
            in.skip(60 + 2);
            in.readU16();
            const uint32_t shapeLength = in.readU32();
            in.skip(shapeLength);
            if (int64_t(blockLength) - 76 - int64_t(shapeLength) > 0) {
                blockEnd = blockStart + blockLength;
                break;
            }
            if (left < 1)
                return --counter, true;
        }
        BlipHeader header = readBlipHeader(in);
        BlipResult result = BlipResult::Passed;
        if (header.type == kBlipStoreEntry && (header.instance == 0 || header.instance == 1)) {
            in.skip(header.length);
        } else {
            if (header.type == kBlipStoreEntry) {
                in.skip(33);
                in.skip(in.readU8() + 2u);
                header = readBlipHeader(in);
            } else if (!isRecordInBlipRange(header.type)) {
                return --counter, true;
            }
            result = writeBlip(in, header, folder, counter);
            if (result == BlipResult::NotBlip) {
                if (header.type < 0xF020 || header.type > 0xF028)
                    return --counter, true;
                in.skip(header.length);
            }
        }
        if (result != BlipResult::Written)
            --counter;
        if (result == BlipResult::OpenFailed)
            return false;
        // Whatever the block holds after its picture is passed over.
        const int64_t at = data.size() - data.remaining();
        if (blockEnd > at && blockEnd <= data.size())
            data.skip(blockEnd - at);
    }
    return true;
}

}  // namespace quillet
