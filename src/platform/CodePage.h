#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class QTextCodec;

namespace quillet::platform {

// Decodes bytes of a Windows code page (0 means 1252, the ANSI page of
// western systems) to UTF-16. Code pages the system cannot decode fall back
// to 1252, so a document never loses its text to an unknown page number.
std::u16string codePageToUtf16(unsigned codePage, const char* bytes, size_t count);

// Windows-1252 without a codec: 0x80-0x9F hold quotes, dashes and the euro
// sign; the five bytes the page leaves undefined, and all others, keep their
// value.
char16_t windows1252Character(uint8_t byte);

// True when codePageToUtf16 decodes this page itself rather than by fallback.
bool isCodePageKnown(unsigned codePage);

// Decodes many runs of one code page, looking the page up only once (the
// lookup costs far more than decoding a short run).
class CodePageDecoder {
public:
    explicit CodePageDecoder(unsigned codePage);
    unsigned codePage() const { return codePage_; }
    std::u16string decode(const char* bytes, size_t count) const;

private:
    unsigned codePage_;
    const QTextCodec* codec_;  // owned by Qt for the life of the process
    bool singleByte_ = false;  // the western and other one-byte Windows pages go by table
    char16_t table_[256] = {};
};

}  // namespace quillet::platform
