#pragma once

#include <cstdint>

namespace quillet {

class CompoundStream;

// The few fields of a Word file information block that lead to the text
// (the piece table, the paragraphs' lists) and to the pictures (the drawing
// group).
struct WordFib {
    bool useOneTable = false;  // "1Table" rather than "0Table"
    bool encrypted = false;
    uint32_t mainTextCharacters = 0;
    // The stories after the main text, in the order the text holds them:
    // footnotes, headers and footers, macros, comments, endnotes, text boxes,
    // header text boxes.
    uint32_t storyCharacters[7] = {};
    uint32_t pieceTableOffset = 0;
    uint32_t pieceTableSize = 0;
    uint32_t drawingGroupOffset = 0;
    uint32_t drawingGroupSize = 0;
    // Zero sizes when the block has no such pair.
    uint32_t stylesOffset = 0;
    uint32_t stylesSize = 0;
    uint32_t paragraphBinsOffset = 0;
    uint32_t paragraphBinsSize = 0;
    uint32_t listsOffset = 0;
    uint32_t listsSize = 0;
    uint32_t listOverridesOffset = 0;
    uint32_t listOverridesSize = 0;

    // Reads from the start of the "WordDocument" stream. Returns 0, or 4099
    // when the block's counts are not those of a Word 97-2003 file. Of an
    // encrypted block only the clear part is read. A stream too short for
    // the block raises CompoundFileError.
    int read(CompoundStream& wordDocument);
};

}  // namespace quillet
