#pragma once

#include <cstddef>

namespace quillet {

// UTF-16 text as the UTF-8 lines of a finished "1.txt": U+000A becomes CR LF
// (a carriage return before it stays in the line), pairs are combined, and an
// unpaired surrogate becomes U+FFFD. A pair split between calls waits for its
// second half.
class Utf8LineEncoder {
public:
    // The room encode() may use for `count` units.
    static constexpr size_t bytesFor(size_t count) { return count * 3 + 8; }

    // Writes the units' bytes at out; returns their end.
    char* encode(const char16_t* units, size_t count, char* out);
    // The text's end: a waiting surrogate becomes U+FFFD and an open line is ended.
    char* finish(char* out);

    // A high surrogate held for its partner, or 0.
    char16_t waitingHigh() const { return high_; }
    // Some surrogate had no partner (and became U+FFFD).
    bool metUnpairedSurrogate() const { return unpaired_; }

private:
    char* put(char16_t unit, char* out);

    char16_t high_ = 0;
    bool lineOpen_ = false;
    bool unpaired_ = false;
};

}  // namespace quillet
