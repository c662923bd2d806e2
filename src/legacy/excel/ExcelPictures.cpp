#include "legacy/excel/ExcelPictures.h"

#include "compound/CompoundFileError.h"

#include "legacy/excel/BiffReader.h"
#include "legacy/pictures/BlipWriter.h"
#include "legacy/pictures/PictureInput.h"

namespace quillet {

namespace {

class BiffPictureInput final : public PictureInput {
public:
    explicit BiffPictureInput(BiffReader& reader) : reader_(reader) {}

protected:
    uint8_t doReadU8() override { return reader_.readU8(); }
    uint16_t doReadU16() override { return reader_.readU16(); }
    uint32_t doReadU32() override { return reader_.readU32(); }
    void doReadBytes(void* out, size_t count) override { reader_.readBytes(out, count); }
    void doSkip(uint64_t count) override { reader_.skip(count); }

private:
    BiffReader& reader_;
};

// The file a store entry becomes, from its btWin32; false ends the walk.
bool entryKind(int btWin32, BlipKind& kind)
{
    switch (btWin32) {
    case 6:
        kind = {".png", true, 0};
        return true;
    case 5:
    case 18:
        kind = {".jpeg", true, 0};
        return true;
    case 17:
        kind = {".tiff", true, 0};
        return true;
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
        kind = {".png", false, 0};
        return true;
    default:
        return false;
    }
}

}  // namespace

namespace {

int walkStore(BiffReader& reader, const std::string& folder)
{
    BiffPictureInput in(reader);
    if (!skipDrawingGroupHeader(in) || reader.left() == 0)
        return 0;
    in.skip(2);
    if (in.readU16() != 0xF001)
        return 0;
    const uint64_t storeLength = in.readU32();
    const uint64_t storeStart = in.consumed();
    int64_t counter = 1;
    int openError = 0;
    while (in.consumed() - storeStart < storeLength) {
        // A store longer than its records ends with them.
        if (reader.atEnd())
            return 0;
        const int btWin32 = in.readU16() >> 4;
        const int type = in.readU16();
        if (btWin32 == 0) {
            in.skip(in.readU32());
            continue;
        }
        BlipKind kind;
        if (!entryKind(btWin32, kind))
            return 0;
        BlipHeader blip;
        if (type == 0xF007) {
            const uint32_t entryLength = in.readU32();
            in.skip(33);
            const uint8_t nameBytes = in.readU8();
            in.skip(nameBytes + 2u);
            // An entry whose picture was deleted may carry no BLIP.
            const uint64_t fixed = 36u + nameBytes;
            if (entryLength < fixed + 8) {
                if (entryLength > fixed)
                    in.skip(entryLength - fixed);
                continue;
            }
            blip = readBlipHeader(in);
        } else if (type >= 0xF018 && type <= 0xF117) {
            blip.instance = btWin32;
            blip.type = type;
            blip.length = in.readU32();
        } else {
            return 0;
        }
        const BlipResult result = writeBlipBody(in, blip, kind, folder, counter, &openError);
        if (result == BlipResult::OpenFailed)
            return openError;
        if (result == BlipResult::NotBlip)
            return 0;
        if (result == BlipResult::Written)
            ++counter;
    }
    return 0;
}

}  // namespace

int extractExcelDrawingGroupPictures(BiffReader& reader, const std::string& folder)
{
    // A picture cut short by the end of the records (a damaged workbook)
    // ends the pictures, not the workbook: its text is read on.
    try {
        return walkStore(reader, folder);
    } catch (const CompoundFileError&) {
        return 0;
    }
}

}  // namespace quillet
