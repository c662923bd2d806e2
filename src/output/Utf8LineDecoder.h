#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet {

// The inverse of Utf8LineEncoder for text without unpaired surrogates: CR LF
// gives back U+000A, every other character its UTF-16 units. A character or
// a line end split between calls waits for its remaining bytes.
class Utf8LineDecoder {
public:
    // The room decode() may use for `count` bytes.
    static constexpr size_t unitsFor(size_t count) { return count + 4; }

    // Writes the units at out; returns their end.
    char16_t* decode(const uint8_t* bytes, size_t count, char16_t* out);
    // The text's end: a carriage return still waiting is given back.
    char16_t* finish(char16_t* out);

private:
    uint32_t codePoint_ = 0;
    int remaining_ = 0;      // continuation bytes still to come
    bool carriage_ = false;  // a CR, waiting to see whether LF follows
};

}  // namespace quillet
