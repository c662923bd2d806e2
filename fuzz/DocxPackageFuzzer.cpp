// Bytes as a word-processing package: the kind dispatch, the export with
// pictures, extras and text, and the in-memory call, as the library runs them.
#include "FuzzScratch.h"

#include "ooxml/OoxmlPackageFile.h"

#include <quillet/quillet.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready())
        return 0;
    const std::string source = scratch.write("input.docx", data, size);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    try {
        quillet::OoxmlPackageFile file(source);
        file.exportPackage(out, quillet::WriteText | quillet::WriteExtras | quillet::WritePictures);
    } catch (const std::runtime_error&) {
        // a malformed tag: 4098 at the library boundary
    }
    try {
        QString text;
        quillet::OoxmlPackageFile(source).packageContent(text);
    } catch (const std::runtime_error&) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(out, ignored);
    return 0;
}
