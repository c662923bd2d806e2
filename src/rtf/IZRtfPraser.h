#pragma once

namespace quillet {

class IZRtfDocument;

class IZRtfPraser {
public:
    virtual ~IZRtfPraser() = default;
    // Reads the document's bytes and reports text and pictures to it.
    virtual int parse(IZRtfDocument& document) = 0;
};

}  // namespace quillet
