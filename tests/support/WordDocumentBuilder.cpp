#include "support/WordDocumentBuilder.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"

namespace quillet::test {
namespace {

void appendU16(std::string& out, uint16_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8));
}

void appendU32(std::string& out, uint32_t value)
{
    appendU16(out, uint16_t(value & 0xFFFF));
    appendU16(out, uint16_t(value >> 16));
}

}  // namespace

PlannedPiece unicodePiece(const std::u16string& text)
{
    return {utf16leBytes(text), true};
}

PlannedPiece bytePiece(const std::string& bytes)
{
    return {bytes, false};
}

WordStreams buildWordStreams(const WordDocumentPlan& plan)
{
    WordStreams streams;
    std::string& doc = streams.wordDocument;
    doc.assign(plan.textOffset, '\0');
    putU16(doc, 0, 0xA5EC);
    putU16(doc, 2, 0x00C1);
    uint16_t flags = 0;
    if (plan.oneTable)
        flags |= 0x0200;
    if (plan.encrypted)
        flags |= 0x0100;
    putU16(doc, 10, flags);
    putU16(doc, 32, plan.shortCount);
    putU16(doc, 62, plan.longCount);
    putU16(doc, 152, plan.pairCount);

    std::vector<uint32_t> positions{0};
    std::vector<uint32_t> filePositions;
    for (const PlannedPiece& piece : plan.pieces) {
        const uint32_t offset = uint32_t(doc.size());
        doc += piece.bytes;
        const uint32_t characters = uint32_t(piece.unicode ? piece.bytes.size() / 2 : piece.bytes.size());
        positions.push_back(positions.back() + characters);
        filePositions.push_back(piece.unicode ? offset : (offset * 2) | 0x40000000u);
    }
    putU32(doc, 76, positions.back());

    std::string& table = streams.table;
    table.assign(16, '\0');  // something before the piece table
    streams.pieceTableOffset = uint32_t(table.size());
    for (const std::string& block : plan.propertyBlocks) {
        table.push_back(1);
        appendU16(table, uint16_t(block.size()));
        table += block;
    }
    table.push_back(char(plan.pieceListMark));
    appendU32(table, uint32_t(positions.size() * 4 + filePositions.size() * 8));
    for (uint32_t position : positions)
        appendU32(table, position);
    for (uint32_t filePosition : filePositions) {
        appendU16(table, 0);
        appendU32(table, filePosition);
        appendU16(table, 0);
    }
    putU32(doc, 418, streams.pieceTableOffset);
    putU32(doc, 422, uint32_t(table.size() - streams.pieceTableOffset));
    return streams;
}

std::string buildWordFile(const WordDocumentPlan& plan)
{
    const WordStreams streams = buildWordStreams(plan);
    CompoundFileBuilder builder;
    builder.addStream("WordDocument", streams.wordDocument);
    builder.addStream(plan.oneTable ? "1Table" : "0Table", streams.table);
    return builder.build();
}

}  // namespace quillet::test
