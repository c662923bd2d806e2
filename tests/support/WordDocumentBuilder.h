#pragma once

// A minimal Word 97-2003 document: the file information block, the pieces'
// text from byte 0x400 on, and a piece table behind one property block.

#include "support/CompoundFileBuilder.h"

#include <utility>

namespace quillet::test {

struct WordPlan {
    std::vector<std::pair<std::string, bool>> pieces;  // the bytes, and whether they are UTF-16LE
    uint16_t flags = 0x0200;                           // 0x0200 names "1Table", 0x0100 marks encryption
    uint16_t pairCount = 93;
    std::string table = "1Table";
    int repeat = 1;           // times the piece list runs through the pieces
    uint32_t clxOffset = 16;  // where the block says the piece table starts; it is at 16
    int outsidePiece = -1;    // this piece's text is said to lie past the end of "WordDocument"
};

// What a document's pictures are read from.
struct WordPictureStreams {
    std::string drawingGroup;  // put in the table stream after the piece table
    std::string delayed;       // after the text in "WordDocument", from delayedBase() on
    std::string data;          // the "Data" stream, when not empty
};

inline uint32_t delayedBase(const WordPlan& plan)
{
    uint32_t at = 0x400;
    for (const auto& piece : plan.pieces)
        at += uint32_t(piece.first.size());
    return at;
}

// Adds "WordDocument" and the table stream.
inline void addWordDocument(CompoundFileBuilder& builder, const WordPlan& plan, const WordPictureStreams& art = {})
{
    std::string document(0x400, '\0'), positions = le32(0), descriptors;
    const std::pair<size_t, uint16_t> fields[] = {{10, plan.flags}, {32, 14}, {62, 22}, {152, plan.pairCount}};
    for (const auto& [at, value] : fields)
        document.replace(at, 2, le16(value));
    for (const auto& piece : plan.pieces)
        document += piece.first;
    uint32_t end = 0;
    for (int round = 0; round < plan.repeat; ++round)
        for (size_t i = 0, at = 0x400; i < plan.pieces.size(); at += plan.pieces[i++].first.size()) {
            const bool unicode = plan.pieces[i].second;
            end += uint32_t(plan.pieces[i].first.size() / (unicode ? 2 : 1));
            positions += le32(end);
            const uint32_t offset = int(i) == plan.outsidePiece ? 0x100000u : uint32_t(at);
            descriptors += le16(0) + le32(unicode ? offset : (offset * 2) | 0x40000000u) + le16(0);
        }
    const std::string list = positions + descriptors;
    const std::string clx = std::string("\x01\x03\0abc\x02", 7) + le32(uint32_t(list.size())) + list;
    document.replace(418, 8, le32(plan.clxOffset) + le32(uint32_t(clx.size())));
    const uint32_t groupAt = uint32_t(16 + clx.size());
    if (!art.drawingGroup.empty())
        document.replace(554, 8, le32(groupAt) + le32(uint32_t(art.drawingGroup.size())));
    builder.add("WordDocument", document + art.delayed);
    builder.add(plan.table, std::string(16, '\0') + clx + art.drawingGroup);
    if (!art.data.empty())
        builder.add("Data", art.data);
}

inline std::string buildWordFile(const WordPlan& plan, const WordPictureStreams& art = {})
{
    CompoundFileBuilder builder;
    addWordDocument(builder, plan, art);
    return builder.build();
}

}  // namespace quillet::test
