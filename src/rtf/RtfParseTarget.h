#pragma once

#include "rtf/RtfPicture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

// What the parser reads from and reports to.
class RtfParseTarget {
public:
    virtual ~RtfParseTarget() = default;

    virtual void text(std::u16string& out) const = 0;
    virtual void pictures(std::vector<std::shared_ptr<RtfPicture>>& out) const = 0;
    virtual void dataBegin(const uint8_t*& begin) const = 0;
    virtual void dataEnd(const uint8_t*& end) const = 0;
    virtual void addPicture(std::shared_ptr<RtfPicture> picture) = 0;
    virtual void appendUnit(char16_t unit) = 0;
    virtual void appendText(const std::u16string& text) = 0;
    // The byte widened with its sign (0x80 to 0xFF become 0xFF80 to 0xFFFF).
    virtual void appendChar(char byte) = 0;
    // UTF-8; invalid input appends nothing.
    virtual void appendNarrow(const std::string& utf8) = 0;
};

}  // namespace quillet
