#include "legacy/pictures/BlipWriter.h"

#include "legacy/pictures/PictureInput.h"
#include "output/OutputPaths.h"
#include "platform/StdioFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quillet {

bool blipKindOf(int recordType, int instance, BlipKind& kind)
{
    const auto one = [&](const char* extension, bool written, uint32_t prefix) {
        kind.extension = extension;
        kind.written = written;
        kind.prefix = prefix;
        return true;
    };
    switch (recordType) {
    case 0xF01A:
        return one(".emf", false, instance == 0x3D5 ? 66 : 50);
    case 0xF01B:
        return one(".wmf", false, instance == 0x217 ? 66 : 50);
    case 0xF01C:
        return one(".pict", false, instance == 0x542 ? 50 : instance == 0x543 ? 66 : 17);
    case 0xF01D:
    case 0xF02A:
        return one(".jpeg", true, instance == 0x46B || instance == 0x6E3 ? 33 : 17);
    case 0xF01E:
        return one(".png", true, instance == 0x6E1 ? 33 : 17);
    case 0xF01F:
        return one(".png", false, instance == 0x7A9 ? 33 : 17);
    case 0xF029:
        return one(".tiff", true, instance == 0x6E5 ? 33 : 17);
    default:
        return false;
    }
}

BlipHeader readBlipHeader(PictureInput& in)
{
    BlipHeader header;
    header.instance = in.readU16() >> 4;
    header.type = in.readU16();
    header.length = in.readU32();
    return header;
}

void reportOpenError()
{
    std::fputs("open error!\n", stderr);
    std::fflush(stderr);
}

BlipResult writeBlipBody(PictureInput& in, const BlipHeader& header, const BlipKind& name, const std::string& folder,
                         int64_t number, int* openError)
{
    BlipKind own;
    if (!blipKindOf(header.type, header.instance, own))
        return BlipResult::NotBlip;
    in.skip(own.prefix);
    uint64_t data = header.length > own.prefix ? header.length - own.prefix : 0;
    if (!name.written) {
        in.skip(data);
        return BlipResult::Passed;
    }
    std::string extension = name.extension;
    uint8_t first[4];
    size_t firstCount = 0;
    if (std::strcmp(name.extension, ".png") == 0 && data >= 4) {
        in.readBytes(first, 4);
        firstCount = 4;
        data -= 4;
        if (std::memcmp(first, "GIF8", 4) == 0)
            extension = ".gif";
    }
    StdioFile file(picturePath(folder, number, extension), "wb");
    if (!file.isOpen()) {
        reportOpenError();
        if (openError != nullptr)
            *openError = file.openError();
        return BlipResult::OpenFailed;
    }
    try {
        file.write(first, firstCount);
        std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(data, 64 * 1024)));
        while (data > 0 && file.writeError() == 0) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(data, buffer.size()));
            in.readBytes(buffer.data(), n);
            file.write(buffer.data(), n);
            data -= n;
        }
    } catch (...) {
        // A length beyond its stream would leave a cut picture behind.
        file.closeAndRemove();
        throw;
    }
    file.closeOutput();
    return BlipResult::Written;
}

BlipResult writeBlip(PictureInput& in, const BlipHeader& header, const std::string& folder, int64_t number,
                     int* openError)
{
    BlipKind kind;
    if (!blipKindOf(header.type, header.instance, kind))
        return BlipResult::NotBlip;
    return writeBlipBody(in, header, kind, folder, number, openError);
}

}  // namespace quillet
