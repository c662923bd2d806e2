#pragma once

// RTF documents put together in code: a header with the ANSI code page and a
// font table, then text, control words, escapes, groups and pictures.

#include <cstdint>
#include <string>

namespace quillet::test {

class RtfBuilder {
public:
    explicit RtfBuilder(unsigned codePage = 1252, int uc = 1)
        : header_("{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage) + "\\uc" + std::to_string(uc) +
                  "\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset134 SimSun;}}"
                  "{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator RtfBuilder;}\\viewkind4\\pard\\f0\\fs20 ")
    {
    }

    // Plain text with "\", "{" and "}" escaped; other bytes as given.
    RtfBuilder& text(const std::string& bytes)
    {
        for (char c : bytes) {
            if (c == '\\' || c == '{' || c == '}')
                body_ += '\\';
            body_ += c;
        }
        return *this;
    }
    RtfBuilder& raw(const std::string& rtf)
    {
        body_ += rtf;
        return *this;
    }
    RtfBuilder& word(const std::string& name) { return raw("\\" + name + " "); }
    RtfBuilder& word(const std::string& name, long long param) { return raw("\\" + name + std::to_string(param) + " "); }
    // Every byte as a "\'hh" escape.
    RtfBuilder& hex(const std::string& bytes)
    {
        static const char digits[] = "0123456789abcdef";
        for (char c : bytes)
            body_ += std::string("\\'") + digits[uint8_t(c) >> 4] + digits[uint8_t(c) & 15];
        return *this;
    }
    // Each unit as "\uN" (signed, as Word writes it) and its fallback text.
    RtfBuilder& unicode(const std::u16string& units, const std::string& fallback = "?")
    {
        for (char16_t u : units)
            body_ += "\\u" + std::to_string(int16_t(u)) + fallback;
        return *this;
    }
    // A picture group with the bytes as hex, lines of the given width.
    RtfBuilder& picture(const std::string& blip, const std::string& bytes, size_t width = 64)
    {
        body_ += "{\\pict\\" + blip + "\\picw10\\pich10\\picwgoal150\\pichgoal150\r\n";
        body_ += hexLines(bytes, width);
        body_ += "}";
        return *this;
    }

    std::string build() const { return header_ + body_ + "\\par\r\n}\r\n"; }
    // Padded after the closing brace, where nothing is read, up to the
    // smallest size a conversion accepts.
    std::string buildPadded(size_t minimum = 512) const
    {
        std::string rtf = build();
        if (rtf.size() < minimum)
            rtf.append(minimum - rtf.size(), '\n');
        return rtf;
    }

    static std::string hexLines(const std::string& bytes, size_t width = 64)
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

private:
    std::string header_;
    std::string body_;
};

}  // namespace quillet::test
