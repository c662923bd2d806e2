#include "legacy/powerpoint/PresentationPictures.h"

#include "legacy/pictures/BlipWriter.h"
#include "legacy/pictures/PictureInput.h"

namespace quillet {

bool extractPresentationPictures(CompoundStream& pictures, int64_t size, const std::string& folder)
{
    StreamPictureInput in(pictures);
    int64_t left = size;
    int64_t counter = 1;
    while (left > 0) {
        const BlipHeader header = readBlipHeader(in);
        left -= 8 + int64_t(header.length);
        switch (writeBlip(in, header, folder, counter)) {
        case BlipResult::Written:
            ++counter;
            break;
        case BlipResult::Passed:
            break;
        case BlipResult::NotBlip:
            return true;
        case BlipResult::OpenFailed:
            return false;
        }
    }
    return true;
}

}  // namespace quillet
