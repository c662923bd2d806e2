#pragma once

// Minimal Word documents. Word 97-2003: the file information block, the pieces' text from byte 0x400 on,
// a piece table behind one property block in the table stream. Word 6.0 and 95: the older block, 8-bit (or
// with flag 0x1000 16-bit) text from 0x300 on and, in a complex file, a piece table in the same stream; the
// pieces stored back to front.

#include "support/CompoundFileBuilder.h"
#include "support/OfficeArtBuilder.h"

#include <optional>

namespace quillet::test {

struct WordPlan {
    std::vector<std::pair<std::string, bool>> pieces;  // the bytes, and whether they are UTF-16LE
    uint16_t flags = 0x0200;                           // 0x0200 names "1Table", 0x0100 marks encryption
    uint16_t pairCount = 93;
    std::string table = "1Table";
    int repeat = 1;  // times the piece list runs through the pieces
    // The drawing group's entries, whose BLIPs go after the text unless delayed replaces them; "Data".
    std::vector<BlipEntry> pictures = {};
    std::optional<std::string> delayed = {};
    std::string data = {};
    int countedPictures = -1;  // the entries the store says it holds; all when negative
    // Characters of the main text, then of the stories after it (footnotes, headers, macros, comments...).
    std::vector<uint32_t> storyCounts = {};
};

// The piece table behind one property block.
inline std::string pieceTable(const std::string& list)
{
    return std::string("\x01\x03\0abc\x02", 7) + le32(uint32_t(list.size())) + list;
}

// Adds "WordDocument", the table stream and "Data".
inline void addWordDocument(CompoundFileBuilder& builder, const WordPlan& plan)
{
    std::string document(0x400, '\0'), positions = le32(0), descriptors, delayed;
    const std::pair<size_t, uint16_t> fields[] = {{10, plan.flags}, {32, 14}, {62, 22}, {152, plan.pairCount}};
    for (const auto& [at, value] : fields)
        document.replace(at, 2, le16(value));
    for (size_t i = 0; i < plan.storyCounts.size(); ++i)
        document.replace(76 + 4 * i, 4, le32(plan.storyCounts[i]));
    for (const auto& piece : plan.pieces)
        document += piece.first;
    uint32_t end = 0;
    for (int round = 0; round < plan.repeat; ++round)
        for (size_t i = 0, at = 0x400; i < plan.pieces.size(); at += plan.pieces[i++].first.size()) {
            const bool unicode = plan.pieces[i].second;
            end += uint32_t(plan.pieces[i].first.size() / (unicode ? 2 : 1));
            positions += le32(end);
            descriptors += le16(0) + le32(unicode ? uint32_t(at) : uint32_t(at * 2) | 0x40000000u) + le16(0);
        }
    std::vector<BlipEntry> entries = plan.pictures;
    for (BlipEntry& entry : entries) {
        entry.delayOffset = uint32_t(document.size() + delayed.size());
        delayed += std::exchange(entry.embedded, {});
        entry.name = "n";
    }
    const std::string clx = pieceTable(positions + descriptors),
                      group = entries.empty() ? "" : drawingGroup(entries, plan.countedPictures);
    document.replace(418, 8, le32(16) + le32(uint32_t(clx.size())));
    document.replace(554, 8, le32(uint32_t(16 + clx.size())) + le32(uint32_t(group.size())));
    builder.add("WordDocument", document + plan.delayed.value_or(delayed));
    builder.add(plan.table, std::string(16, '\0') + clx + group);
    if (!plan.data.empty())
        builder.add("Data", plan.data);
}

inline std::string buildWordFile(const WordPlan& plan)
{
    CompoundFileBuilder builder;
    addWordDocument(builder, plan);
    return builder.build();
}

struct Word6Plan {
    std::vector<std::string> pieces;  // a non-complex file holds them as one run
    uint16_t language = 0x0409;
    uint16_t characterSet = 0;
    bool complex = false;
    uint16_t flags = 0;      // 0x0100 marks encryption, 0x1000 16-bit text; complex files add 0x0004
    int64_t textStart = -1;  // replaces the true start of a non-complex run
};

inline std::string buildWord6Stream(const Word6Plan& plan)
{
    constexpr size_t kTextStart = 0x300;
    std::string document(kTextStart, '\0');
    const std::pair<size_t, uint16_t> fields[] = {{0, 0xA5DC},
                                                  {2, 104},  // Word 95
                                                  {6, plan.language},
                                                  {10, uint16_t(plan.flags | (plan.complex ? 0x0004 : 0))},
                                                  {0x14, plan.characterSet}};
    for (const auto& [at, value] : fields)
        document.replace(at, 2, le16(value));
    if (!plan.complex) {
        for (const std::string& piece : plan.pieces)
            document += piece;
        const size_t start = plan.textStart < 0 ? kTextStart : size_t(plan.textStart);
        return document.replace(0x18, 8, le32(uint32_t(start)) + le32(uint32_t(start + document.size() - kTextStart)));
    }
    std::vector<uint32_t> at(plan.pieces.size());
    for (size_t i = plan.pieces.size(); i-- > 0;) {
        at[i] = uint32_t(document.size());
        document += plan.pieces[i];
    }
    std::string positions = le32(0), descriptors;
    uint32_t end = 0;
    const size_t unitBytes = (plan.flags & 0x1000) != 0 ? 2 : 1;
    for (size_t i = 0; i < plan.pieces.size(); ++i) {
        positions += le32(end += uint32_t(plan.pieces[i].size() / unitBytes));
        descriptors += le16(0) + le32(at[i]) + le16(0);
    }
    const std::string clx = pieceTable(positions + descriptors);
    document.replace(0x160, 8, le32(uint32_t(document.size())) + le32(uint32_t(clx.size())));
    return document + clx;
}

inline std::string buildWord6File(const Word6Plan& plan)
{
    CompoundFileBuilder builder;
    builder.add("WordDocument", buildWord6Stream(plan));
    return builder.build();
}

}  // namespace quillet::test
