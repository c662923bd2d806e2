// Bytes as the "PowerPoint Document" stream, read straight from memory: the first byte picks the export
// flags, the next four give the current edit's offset (all ones: no "Current User"), the rest is the
// stream. With pictures asked for, the same bytes are read as the "Pictures" stream too.
#include "FuzzScratch.h"
#include "MemoryStream.h"

#include "legacy/powerpoint/PptTextReader.h"
#include "legacy/powerpoint/PresentationPictures.h"

#include <quillet/quillet.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready() || size < 5)
        return 0;
    static const uint32_t kFlags[] = {0x10, 0x110, 0x111, 0x01};
    const uint32_t flags = kFlags[data[0] % 4];
    uint32_t edit = 0;
    std::memcpy(&edit, data + 1, 4);
    MemorySectors sectors(data + 5, size - 5);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    try {
        if (flags & quillet::WriteText)
            quillet::PptTextReader().extractText(*sectors.stream(), edit == 0xFFFFFFFFu ? -1 : int64_t(edit), out,
                                                 flags);
        if (flags & quillet::WritePictures)
            quillet::extractPresentationPictures(*sectors.stream(), int64_t(size - 5), out);
    } catch (const std::runtime_error&) {
        // a damaged stream, or a malformed tag in an embedded drawing package: 4098 at the library boundary
    }
    if (std::filesystem::exists(out + "/1.zip"))
        __builtin_trap();
    return 0;
}
