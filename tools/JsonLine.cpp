#include "JsonLine.h"

#include <cstdio>

namespace quillet::cli {

namespace {

// Length of the valid UTF-8 sequence at i, or 0.
size_t utf8Length(const std::string& s, size_t i)
{
    const auto at = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    size_t n = b < 0x80                   ? 1
               : (b >= 0xC2 && b <= 0xDF) ? 2
               : (b >= 0xE0 && b <= 0xEF) ? 3
               : (b >= 0xF0 && b <= 0xF4) ? 4
                                          : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
    const unsigned char c = at(i + 1 < s.size() ? i + 1 : i);
    if ((b == 0xE0 && c < 0xA0) || (b == 0xED && c > 0x9F) || (b == 0xF0 && c < 0x90) || (b == 0xF4 && c > 0x8F))
        return 0;  // overlong, surrogate or beyond U+10FFFF
    return n;
}

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(const std::string& s) : s_(s) {}

    void skipSpace()
    {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n'))
            ++pos_;
    }
    bool take(char c)
    {
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool peek(char c)
    {
        skipSpace();
        return pos_ < s_.size() && s_[pos_] == c;
    }
    bool atEnd()
    {
        skipSpace();
        return pos_ == s_.size();
    }

    bool string(std::string& out)
    {
        if (!take('"'))
            return false;
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size())
                return false;
            const char e = s_[pos_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                uint32_t unit = 0;
                if (!hex4(unit))
                    return false;
                if (unit >= 0xDC80 && unit <= 0xDCFF) {
                    out += static_cast<char>(unit - 0xDC00);
                } else if (unit >= 0xD800 && unit <= 0xDBFF) {
                    uint32_t low = 0;
                    if (!(take('\\') && pos_ < s_.size() && s_[pos_++] == 'u' && hex4(low)) || low < 0xDC00 ||
                        low > 0xDFFF)
                        return false;
                    appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    return false;
                } else {
                    appendUtf8(out, unit);
                }
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    bool bare(std::string& out)
    {
        skipSpace();
        const size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '}' && s_[pos_] != ' ')
            ++pos_;
        out = s_.substr(start, pos_ - start);
        return !out.empty();
    }

private:
    bool hex4(uint32_t& value)
    {
        if (pos_ + 4 > s_.size())
            return false;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[pos_++];
            value <<= 4;
            if (h >= '0' && h <= '9')
                value |= static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                value |= static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                value |= static_cast<uint32_t>(h - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

}  // namespace

std::string JsonLine::escape(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + 2);
    char hex[8];
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t n = utf8Length(bytes, i);
        if (n == 0) {
            std::snprintf(hex, sizeof hex, "\\udc%02x", b);
            out += hex;
            ++i;
        } else if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
            ++i;
        } else if (b < 0x20) {
            std::snprintf(hex, sizeof hex, "\\u%04x", b);
            out += hex;
            ++i;
        } else {
            out.append(bytes, i, n);
            i += n;
        }
    }
    return out;
}

void JsonLine::key(const char* name)
{
    text_ += text_.empty() ? "{\"" : ",\"";
    text_ += name;
    text_ += "\":";
}

JsonLine& JsonLine::string(const char* name, const std::string& value)
{
    key(name);
    text_ += '"' + escape(value) + '"';
    return *this;
}

JsonLine& JsonLine::number(const char* name, const std::string& digits)
{
    key(name);
    text_ += digits;
    return *this;
}

JsonLine& JsonLine::number(const char* name, int64_t value)
{
    return number(name, std::to_string(value));
}

JsonLine& JsonLine::null(const char* name)
{
    key(name);
    text_ += "null";
    return *this;
}

std::string JsonLine::finish() const
{
    return (text_.empty() ? std::string("{") : text_) + "}\n";
}

bool JsonLine::parse(const std::string& line, std::map<std::string, Value>& fields)
{
    Reader reader(line);
    if (!reader.take('{'))
        return false;
    if (reader.take('}'))
        return reader.atEnd();
    do {
        std::string name;
        Value value;
        if (!reader.string(name) || !reader.take(':'))
            return false;
        value.isString = reader.peek('"');
        if (!(value.isString ? reader.string(value.text) : reader.bare(value.text)))
            return false;
        value.isNull = !value.isString && value.text == "null";
        fields[name] = value;
    } while (reader.take(','));
    return reader.take('}') && reader.atEnd();
}

}  // namespace quillet::cli
