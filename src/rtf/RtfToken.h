#pragma once

#include <string>

namespace quillet {

// One control word or control symbol.
struct RtfToken {
    std::string name;  // letters of a control word; empty for a symbol
    int id = 0;        // keyword id; 0 for unknown words and for symbols
    int param = -1;    // -1 without a parameter; the byte (as signed 8 bits) of "\'"
    char symbol = '\0';
    bool isSymbol = false;
};

}  // namespace quillet
