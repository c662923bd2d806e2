#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class PictureInput;

// One OfficeArt BLIP kind: how the picture file is named, whether it is
// written at all, and how many bytes precede the picture data.
struct BlipKind {
    const char* extension = ".png";
    bool written = false;
    uint32_t prefix = 0;
};

// False when the record type is no BLIP kind.
bool blipKindOf(int recordType, int instance, BlipKind& kind);

struct BlipHeader {
    int instance = 0;
    int type = 0;
    uint32_t length = 0;
};

BlipHeader readBlipHeader(PictureInput& in);

enum class BlipResult { Written, Passed, NotBlip, OpenFailed };

// Writes the BLIP whose header was just read as image<number>. name (with
// written) decides the file, the header's own kind the bytes before the data.
// On OpenFailed, openError (when given) receives the open's error number.
BlipResult writeBlipBody(PictureInput& in, const BlipHeader& header, const BlipKind& name, const std::string& folder,
                         int64_t number, int* openError = nullptr);
// The same, the kind taken from the header.
BlipResult writeBlip(PictureInput& in, const BlipHeader& header, const std::string& folder, int64_t number,
                     int* openError = nullptr);

// Said once per source whose picture file could not be made.
void reportOpenError();

}  // namespace quillet
