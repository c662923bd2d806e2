#pragma once

#include "legacy/word/WordPiece.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

class CompoundStream;
struct WordFib;

// Which list, if any, each paragraph of a Word 97-2003 document belongs to,
// from the paragraph properties its bin table leads to.
class WordParagraphLists {
public:
    struct Membership {
        int16_t override = 0;  // 1-based list override; 0 for none
        uint8_t level = 0;
        bool overrideSet = false;  // the properties name the override or the level
        bool levelSet = false;
    };

    // Reads the paragraph styles' lists, then the bin table and its property
    // pages; a paragraph's own list properties win over its style's. A page
    // outside the stream or a damaged one adds no runs; damaged styles give
    // no lists. Raises CompoundFileError on a short read.
    void read(CompoundStream& wordDocument, CompoundStream& table, const WordFib& fib);
    bool anyList() const { return anyList_; }
    // The list of the paragraph holding character position cp, which lies
    // in pieces[index]: the one its paragraph mark carries, which may lie in
    // a later piece.
    Membership at(const std::vector<WordPiece>& pieces, size_t index, int32_t cp) const;

private:
    struct Run {
        uint32_t start = 0;
        uint32_t end = 0;  // exclusive
        Membership list;
    };

    void readStyles(CompoundStream& table, const WordFib& fib);
    void readPage(const uint8_t* page);
    const Run* runAt(uint32_t fc) const;

    std::vector<Membership> styles_;  // by style number, bases applied
    std::vector<Run> runs_;           // in stream order
    bool anyList_ = false;
};

}  // namespace quillet
