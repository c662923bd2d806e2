#pragma once

#include <cstdint>

namespace quillet {

class CompoundStream;

// The fields of a Word 6.0 or Word 95 file information block that lead to
// the text. These files keep their tables in the "WordDocument" stream.
struct Word6Fib {
    uint16_t version = 0;       // nFib
    uint16_t language = 0;      // lid
    uint16_t characterSet = 0;  // 0 Windows ANSI, 256 Macintosh
    bool complex = false;       // text in pieces, through the piece table
    bool encrypted = false;
    uint32_t textStart = 0;  // a non-complex file's text runs from here
    uint32_t textEnd = 0;    // to here (exclusive)
    uint32_t pieceTableOffset = 0;
    uint32_t pieceTableSize = 0;
    // The text is 16-bit units (pieces told apart as Word 97's are), not
    // code-page bytes.
    bool extendedCharacters = false;

    // Reads from the start of the "WordDocument" stream. Of an encrypted
    // block only the clear part is read. A stream too short for the block
    // raises CompoundFileError.
    void read(CompoundStream& wordDocument);
    // The code page of the 8-bit text: Macintosh Roman for a Macintosh
    // character set, else the Windows page of the document's language.
    unsigned codePage() const;
};

// True when the stream's version number is Word 6.0's (101) or higher but
// below Word 97's (0x00C1), and its block lacks the Word 97 layout's counts.
bool isWord6Layout(CompoundStream& wordDocument);

// The Windows ANSI code page of a language id; 1252 for languages written
// in it and for ids unknown.
unsigned codePageOfLanguage(uint16_t languageId);

}  // namespace quillet
