#pragma once

#include "numberformat/NumberFormat.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

// The number formats of one workbook: its own format codes by id, its cell
// styles in order with the format id of each, and its date system. Every
// entry comes from a record or element at least as long as what it keeps,
// so the table stays within the size of the workbook's style data.
class CellFormats {
public:
    // A workbook's own code for a format id; a later one replaces it.
    void addFormat(unsigned id, std::string code);
    // The next cell style and the id of its format.
    void addStyle(unsigned formatId)
    {
        styles_.push_back(formatId);
        byStyle_.emplace_back();
    }
    void setDate1904(bool on) { date1904_ = on; }
    bool date1904() const { return date1904_; }
    size_t styleCount() const { return styles_.size(); }

    // Appends the value as a cell of the style shows it; styles out of range
    // show it as General.
    void format(size_t style, double value, std::string& out);
    // The style's format shows dates or times.
    bool isDateTime(size_t style);

private:
    const NumberFormat* formatOfStyle(size_t style);
    const NumberFormat* parsedFormatOfStyle(size_t style);

    std::unordered_map<unsigned, std::string> codes_;
    std::vector<unsigned> styles_;
    // Parsed on first use, one per format id in use.
    std::unordered_map<unsigned, std::unique_ptr<NumberFormat>> parsed_;
    bool date1904_ = false;
    // Each style's format once looked up (null: General), so that cells of
    // alternating styles cost no hash lookup.
    struct Resolved {
        const NumberFormat* format = nullptr;
        bool known = false;
    };
    std::vector<Resolved> byStyle_;
};

}  // namespace quillet
