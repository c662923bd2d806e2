#pragma once

#include <string>

namespace quillet {

// Lower-cases A-Z only, whatever the locale: names in files and paths are
// compared as bytes.
inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string text)
{
    for (char& c : text)
        c = asciiLower(c);
    return text;
}

}  // namespace quillet
