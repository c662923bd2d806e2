// Whole-library fuzzing: bytes written to a file and run through the three
// document calls, as a caller would.
#include "FuzzScratch.h"

#include <quillet/quillet.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready())
        return 0;
    const std::string source = scratch.write("input", data, size);
    const std::string out = scratch.file("out");
    export2Txt(source.c_str(), out.c_str(), 0, 0x111, 5);
    getFileFormate(source.c_str(), 0);
    QString text;
    quilletGetFileContent(QString::fromStdString(source), text);
    return 0;
}
