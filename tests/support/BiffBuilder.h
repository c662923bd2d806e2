#pragma once

// BIFF8 record streams: records, bodies split over CONTINUE records, cells, strings and comments.

#include "support/CompoundFileBuilder.h"

#include <cstring>

namespace quillet::test {

inline std::string biffRecord(uint16_t type, const std::string& body)
{
    return le16(type) + le16(uint16_t(body.size())) + body;
}

// The first piece in a record of the type, each further piece in a CONTINUE.
inline std::string biffSplit(uint16_t type, const std::vector<std::string>& pieces)
{
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i)
        out += biffRecord(i == 0 ? type : 0x003C, pieces[i]);
    return out;
}

// A string with formatting runs and a phonetic block as the SST holds it; without, as other records do.
struct RichString {
    std::u16string text;
    bool wide = false;
    uint16_t runs = 0;
    std::string phonetic = {};
};

inline std::string biffString(const RichString& s)
{
    const char options = char((s.wide ? 0x01 : 0) | (s.phonetic.empty() ? 0 : 0x04) | (s.runs ? 0x08 : 0));
    std::string out = le16(uint16_t(s.text.size())) + options + (s.runs ? le16(s.runs) : "");
    if (!s.phonetic.empty())
        out += le32(uint32_t(s.phonetic.size()));
    out += s.wide ? utf16leBytes(s.text) : std::string(s.text.begin(), s.text.end());
    for (uint16_t i = 0; i < s.runs; ++i)
        out += le16(i) + le16(1);
    return out + s.phonetic;
}

inline std::string sstHead(uint32_t uses, uint32_t unique)
{
    return le32(uses) + le32(unique);
}

inline std::string cellHead(uint16_t row, uint16_t column, uint16_t style = 15)
{
    return le16(row) + le16(column) + le16(style);
}

inline std::string labelSst(uint16_t row, uint16_t column, uint32_t index)
{
    return biffRecord(0x00FD, cellHead(row, column) + le32(index));
}

inline std::string doubleBytes(double value)
{
    std::string bits(8, '\0');
    std::memcpy(&bits[0], &value, 8);  // the test machines are little-endian
    return bits;
}

inline std::string numberCell(uint16_t row, uint16_t column, double value, uint16_t style = 15)
{
    return biffRecord(0x0203, cellHead(row, column, style) + doubleBytes(value));
}

inline std::string rkCell(uint16_t row, uint16_t column, uint32_t rk, uint16_t style = 15)
{
    return biffRecord(0x027E, cellHead(row, column, style) + le32(rk));
}

// A whole number in RK form.
inline uint32_t rkWhole(int32_t value)
{
    return (uint32_t(value) << 2) | 0x02;
}

// MULRK: one style and RK value per column from `column` on.
inline std::string mulRkCells(uint16_t row, uint16_t column, const std::vector<std::pair<uint16_t, uint32_t>>& cells)
{
    std::string body = le16(row) + le16(column);
    for (const auto& [style, rk] : cells)
        body += le16(style) + le32(rk);
    return biffRecord(0x00BD, body + le16(uint16_t(column + cells.size() - 1)));
}

// FORMULA with its cached result: a number, or a string (kind 0), boolean (1), error (2) or
// empty string (3) marked by 0xFFFF in the top bytes; the formula's tokens are left out.
inline std::string formulaCell(uint16_t row, uint16_t column, const std::string& result, uint16_t style = 15)
{
    return biffRecord(0x0006, cellHead(row, column, style) + result + le16(0) + le32(0) + le16(0));
}

inline std::string formulaResult(uint8_t kind, uint8_t value = 0)
{
    return std::string(1, char(kind)) + '\0' + char(value) + std::string(3, '\0') + "\xFF\xFF";
}

inline std::string boolErrCell(uint16_t row, uint16_t column, uint8_t value, bool error)
{
    return biffRecord(0x0205, cellHead(row, column) + char(value) + char(error ? 1 : 0));
}

inline std::string formatRecord(uint16_t id, const std::u16string& code)
{
    return biffRecord(0x041E, le16(id) + biffString({code}));
}

// XF: the font, the format id and the rest of a cell style.
inline std::string cellStyleRecord(uint16_t formatId)
{
    return biffRecord(0x00E0, le16(0) + le16(formatId) + std::string(16, '\0'));
}

inline std::string labelCell(uint16_t row, uint16_t column, const RichString& text)
{
    return biffRecord(0x0204, cellHead(row, column) + biffString(text));
}

// A comment: its drawing object, its text object with the text in a CONTINUE (the formatting runs in
// another), and the note of its cell.
inline std::string commentObject(uint16_t id, uint16_t kind = 25)
{
    return biffRecord(0x005D, le16(0x15) + le16(0x12) + le16(kind) + le16(id) + std::string(14, '\0'));
}

inline std::string commentText(const std::u16string& text, bool wide = false)
{
    const std::string txo = std::string(10, '\0') + le16(uint16_t(text.size())) + le16(16) + std::string(4, '\0');
    return biffRecord(0x01B6, txo) + biffRecord(0x003C, biffString({text, wide}).substr(2)) +
           biffRecord(0x003C, std::string(16, '\0'));
}

inline std::string noteRecord(uint16_t id)
{
    return biffRecord(0x001C, le16(0) + le16(0) + le16(0) + le16(id) + biffString({u"author"}));
}

// An MSODRAWINGGROUP record whose body goes on in CONTINUE records every `piece` bytes.
inline std::string drawingGroupRecord(const std::string& body, size_t piece = 8224)
{
    std::vector<std::string> pieces;
    for (size_t at = 0; at < body.size(); at += piece)
        pieces.push_back(body.substr(at, piece));
    return biffSplit(0x00EB, pieces);
}

// The records as the "Workbook" stream, with the other streams named, each holding a few bytes.
inline std::string buildWorkbookFile(const std::string& records, const std::vector<std::string>& others = {})
{
    CompoundFileBuilder builder;
    builder.add("Workbook", records);
    for (const std::string& name : others)
        builder.add(name, "extra");
    return builder.build();
}

}  // namespace quillet::test
