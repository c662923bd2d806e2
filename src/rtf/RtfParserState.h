#pragma once

#include <cstdint>

namespace quillet {

// What an RTF group saves on "{" and restores on "}".
struct RtfParserState {
    uint32_t codePage = 0;   // from ansicpg; 0 reads as 1252
    bool started = false;    // the first "{" was met
    uint32_t skipCount = 0;  // fallback units still to drop after \u
    uint32_t ucCount = 1;    // fallback units that follow each \u
    int font = -1;           // from \f; -1 is the document's default font

    bool operator==(const RtfParserState& other) const
    {
        return codePage == other.codePage && started == other.started && skipCount == other.skipCount &&
               ucCount == other.ucCount && font == other.font;
    }
};

}  // namespace quillet
