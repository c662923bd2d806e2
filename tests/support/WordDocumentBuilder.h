#pragma once

// Builds the "WordDocument" and table streams of a minimal Word 97-2003
// document: a file information block, the text of the pieces and a piece
// table, with knobs for the fields the reader checks.

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

struct PlannedPiece {
    std::string bytes;    // UTF-16LE for unicode pieces, single bytes otherwise
    bool unicode = true;
};

struct WordDocumentPlan {
    std::vector<PlannedPiece> pieces;
    bool oneTable = true;
    bool encrypted = false;
    uint16_t shortCount = 14;
    uint16_t longCount = 22;
    uint16_t pairCount = 93;
    std::vector<std::string> propertyBlocks;  // passed over before the piece list
    uint8_t pieceListMark = 2;
    uint32_t textOffset = 0x400;  // where the first piece's text starts
};

struct WordStreams {
    std::string wordDocument;
    std::string table;
    uint32_t pieceTableOffset = 0;
};

WordStreams buildWordStreams(const WordDocumentPlan& plan);

// A piece of UTF-16 text.
PlannedPiece unicodePiece(const std::u16string& text);
// A piece of 8-bit text, stored as given.
PlannedPiece bytePiece(const std::string& bytes);

// A whole compound file holding the document ("WordDocument" and "1Table"
// or "0Table" under the root).
std::string buildWordFile(const WordDocumentPlan& plan);

}  // namespace quillet::test
