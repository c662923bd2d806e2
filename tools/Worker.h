// One document through the library, and the worker process's request loop.
#pragma once

#include "DocumentResult.h"

#include <string>

namespace quillet::cli {

struct ConversionSettings {
    uint32_t flags = 0x10;
    int timeLimitSeconds = 300;  // handed to the library (PDF pages)
    bool clean = false;          // 1.txt rewritten as readable UTF-8 text
    bool json = false;           // doc.json beside 1.txt: format, code, metadata, parts
};

class Worker {
public:
    // Converts source into folder (emptied first) in the calling process.
    // With formatFd, the format name (kFormatBytes, zero-padded) is written
    // there before the conversion starts, so a crash can still name it.
    static DocumentResult convert(const std::string& source, const std::string& folder,
                                  const ConversionSettings& settings, int formatFd = -1);
    static constexpr size_t kFormatBytes = sizeof(DocumentResult::format);

    // Serves requests read from input until it closes, one reply each on output,
    // then ends the process.
    [[noreturn]] static void serve(int input, int output, const ConversionSettings& settings);

    // Request framing shared with the parent.
    static bool writeRequest(int fd, const std::string& source, const std::string& folder);
};

}  // namespace quillet::cli
