#pragma once

// A minimal Word 6.0 / Word 95 document: the older file information block,
// the 8-bit text from byte 0x300 on and, in a complex file, a piece table
// behind one property block in the same stream. Complex files store their
// pieces back to front, so only the piece table puts them in order.

#include "support/CompoundFileBuilder.h"

namespace quillet::test {

struct Word6Plan {
    std::vector<std::string> pieces;  // a non-complex file holds them as one run
    bool complex = false;
    uint16_t version = 104;  // Word 95; Word 6.0 is 101
    uint16_t language = 0x0409;
    uint16_t characterSet = 0;
    uint16_t flags = 0;             // 0x0100 marks encryption; complex files add 0x0004
    int64_t textStart = -1;         // replaces the true start of a non-complex run
    uint32_t claimedPieces = 0;     // pieces the list claims beyond those it holds
    int64_t pieceTableOffset = -1;  // replaces the true offset of the piece table
};

inline std::string buildWord6Stream(const Word6Plan& plan)
{
    constexpr size_t kTextStart = 0x300;
    std::string document(kTextStart, '\0');
    const std::pair<size_t, uint16_t> fields[] = {{0, 0xA5DC},
                                                  {2, plan.version},
                                                  {6, plan.language},
                                                  {10, uint16_t(plan.flags | (plan.complex ? 0x0004 : 0))},
                                                  {0x14, plan.characterSet}};
    for (const auto& [at, value] : fields)
        document.replace(at, 2, le16(value));
    if (!plan.complex) {
        std::string run;
        for (const std::string& piece : plan.pieces)
            run += piece;
        document += run;
        const uint32_t start = plan.textStart < 0 ? uint32_t(kTextStart) : uint32_t(plan.textStart);
        document.replace(0x18, 8, le32(start) + le32(start + uint32_t(run.size())));
        return document;
    }
    std::vector<uint32_t> at(plan.pieces.size());
    for (size_t i = plan.pieces.size(); i-- > 0;) {
        at[i] = uint32_t(document.size());
        document += plan.pieces[i];
    }
    std::string positions = le32(0), descriptors;
    uint32_t end = 0;
    for (size_t i = 0; i < plan.pieces.size(); ++i) {
        positions += le32(end += uint32_t(plan.pieces[i].size()));
        descriptors += le16(0) + le32(at[i]) + le16(0);
    }
    const std::string list = positions + descriptors;
    const std::string clx =
        std::string("\x01\x03\0abc\x02", 7) + le32(uint32_t(list.size() + 12 * plan.claimedPieces)) + list;
    const uint32_t offset = plan.pieceTableOffset < 0 ? uint32_t(document.size()) : uint32_t(plan.pieceTableOffset);
    document.replace(0x160, 8, le32(offset) + le32(uint32_t(clx.size())));
    return document + clx;
}

inline std::string buildWord6File(const Word6Plan& plan)
{
    CompoundFileBuilder builder;
    builder.add("WordDocument", buildWord6Stream(plan));
    return builder.build();
}

}  // namespace quillet::test
