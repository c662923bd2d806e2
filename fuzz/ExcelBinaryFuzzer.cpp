// Bytes as the "Workbook" record stream, read straight from memory: the
// first byte picks the export flags, the rest are the records.
#include "FuzzScratch.h"
#include "MemoryStream.h"

#include "compound/CompoundFileError.h"
#include "legacy/excel/ExcelBinaryReader.h"

#include <quillet/quillet.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready() || size < 1)
        return 0;
    static const uint32_t kFlags[] = {0x10, 0x110, 0x111, 0x01};
    MemorySectors sectors(data + 1, size - 1);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    try {
        quillet::ExcelBinaryReader().exportWorkbook(*sectors.stream(), out, kFlags[data[0] % 4]);
    } catch (const quillet::CompoundFileError&) {
        // a defined end: 4098 at the library boundary
    }
    return 0;
}
