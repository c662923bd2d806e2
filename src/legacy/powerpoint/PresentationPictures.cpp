#include "legacy/powerpoint/PresentationPictures.h"

#include "legacy/pictures/BlipWriter.h"
#include "legacy/pictures/PictureInput.h"

namespace quillet {

int extractPresentationPictures(CompoundStream& pictures, int64_t size, const std::string& folder)
{
    StreamPictureInput in(pictures);
    int64_t left = size;
    int64_t counter = 1;
    int openError = 0;
    while (left > 0) {
        const BlipHeader header = readBlipHeader(in);
        left -= 8 + int64_t(header.length);
        switch (writeBlip(in, header, folder, counter, &openError)) {
        case BlipResult::Written:
            ++counter;
            break;
        case BlipResult::Passed:
            break;
        case BlipResult::NotBlip:
            return 0;
        case BlipResult::OpenFailed:
            return openError;
        }
    }
    return 0;
}

}  // namespace quillet
