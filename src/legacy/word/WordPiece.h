#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

class CompoundStream;

// One piece of a Word document's text: a run of character positions and
// where its characters lie in the "WordDocument" stream.
struct WordPiece {
    int32_t firstCharacter = 0;
    int32_t endCharacter = 0;  // exclusive
    uint32_t byteOffset = 0;
    bool unicode = false;  // 16-bit units, else 8-bit (Windows-1252) bytes

    // The piece table (CLX) at offset in the table stream: property blocks
    // are passed over, then the piece list is read. Returns 0, or 4099 when
    // the offset lies outside the stream or the list does not start where
    // it should. The count is cut to the bytes the stream holds. The pieces
    // of a Word 6.0 or Word 95 file without extended characters
    // (eightBitOnly) are all 8-bit, at their plain file position.
    static int readTable(CompoundStream& table, uint32_t offset, std::vector<WordPiece>& pieces,
                         bool eightBitOnly = false);
};

}  // namespace quillet
