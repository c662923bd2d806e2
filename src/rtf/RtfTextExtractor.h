#pragma once

#include "output/TextSink.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class DocumentRecord;

// The export run of one RTF file: "1.txt" (UTF-16LE) and the pictures.
class RtfTextExtractor {
public:
    explicit RtfTextExtractor(std::string source) : source_(std::move(source)) {}
    RtfTextExtractor(const RtfTextExtractor&) = delete;
    RtfTextExtractor& operator=(const RtfTextExtractor&) = delete;

    // 0; 4100 when the source is missing or cannot be opened; the error
    // number of the text file or a picture file that cannot be made. The text
    // file is created whatever the flags; 0x10 fills it (0x110: headers and
    // footers after the body), 0x01 writes the pictures as image1.png,
    // image2.jpg, ...
    // With a record, the info group's properties go into it too.
    uint32_t exportText(const std::string& folder, uint32_t flags, DocumentRecord* record = nullptr);

private:
    std::string source_;
    std::unique_ptr<TextSink> sink_;
};

}  // namespace quillet
