#pragma once

// Pieces of RTF documents for the reader's tests.

#include <cstdint>
#include <string>

namespace quillet::test {

// Bytes as hex digits, a line break after every `width` bytes (none for 0).
inline std::string rtfHex(const std::string& bytes, size_t width = 64)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += digits[uint8_t(bytes[i]) >> 4];
        out += digits[uint8_t(bytes[i]) & 15];
        if (width > 0 && (i + 1) % width == 0)
            out += "\r\n";
    }
    return out;
}

inline std::string rtfPicture(const std::string& blip, const std::string& bytes, size_t width = 64)
{
    return "{\\pict\\" + blip + "\\picw10\\pich10\\picwgoal150\\pichgoal150\r\n" + rtfHex(bytes, width) + "}";
}

// A document as Word writes one around the body, padded after its closing
// brace (where nothing is read) to the smallest size a conversion accepts.
inline std::string rtfDocument(const std::string& body)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator RtfBuilder;}\\viewkind4\\pard\\f0 " +
                      body + "\\par\r\n}\r\n";
    if (rtf.size() < 512)
        rtf.append(512 - rtf.size(), '\n');
    return rtf;
}

}  // namespace quillet::test
