#include "output/Utf8LineDecoder.h"

#include "platform/Utf8.h"

namespace quillet {

char16_t* Utf8LineDecoder::decode(const uint8_t* bytes, size_t count, char16_t* out)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        if (remaining_ > 0 && (byte & 0xC0) == 0x80) {
            codePoint_ = (codePoint_ << 6) | (byte & 0x3F);
            if (--remaining_ == 0)
                out = putUtf16(codePoint_, out);
            continue;
        }
        // The encoder writes whole characters; a stray byte stands for itself.
        remaining_ = 0;
        if (carriage_) {
            carriage_ = false;
            if (byte == '\n') {
                *out++ = u'\n';
                continue;
            }
            *out++ = u'\r';
        }
        if (byte == '\r') {
            carriage_ = true;
        } else if (byte < 0x80) {
            *out++ = byte;
        } else if (byte >= 0xF0) {
            codePoint_ = byte & 0x07;
            remaining_ = 3;
        } else if (byte >= 0xE0) {
            codePoint_ = byte & 0x0F;
            remaining_ = 2;
        } else if (byte >= 0xC0) {
            codePoint_ = byte & 0x1F;
            remaining_ = 1;
        } else {
            *out++ = byte;
        }
    }
    return out;
}

char16_t* Utf8LineDecoder::finish(char16_t* out)
{
    if (carriage_)
        *out++ = u'\r';
    carriage_ = false;
    remaining_ = 0;
    return out;
}

}  // namespace quillet
