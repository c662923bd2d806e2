#pragma once

#include "support/PackagePartSet.h"

#include <string>
#include <vector>

namespace quillet::test {

// Spreadsheet packages in the shape Excel writes them: "xl/workbook.xml" with
// one sheet element per added worksheet ("xl/worksheets/sheetN.xml", rIdN),
// the shared strings as rId1000, and per worksheet an optional comments part.
// Any part can be replaced or dropped through parts().
class XlsxBuilder {
public:
    // Each string becomes one si with a plain t; see sharedStringsXml for rich ones.
    XlsxBuilder& sharedStrings(const std::vector<std::string>& strings);
    // The si elements, written as given.
    XlsxBuilder& sharedStringsXml(const std::string& siElements);
    // body: the worksheet's children, e.g. "<sheetData>...</sheetData>".
    XlsxBuilder& worksheet(const std::string& body, const std::string& commentsBody = "");
    PackagePartSet& parts() { return parts_; }

    std::string bytes() const;

    // "<row>" with one cell per value: "s:3" a shared string, "inlineStr:x" an
    // inline string, "b:1" another type, plain text a number cell, "" a cell
    // without a value.
    static std::string row(const std::vector<std::string>& cells);
    static std::string sheetData(const std::vector<std::string>& rows);
    // A comment whose runs are the given texts.
    static std::string comment(const std::vector<std::string>& runs);

private:
    struct Sheet {
        std::string body, commentsBody;
    };
    std::vector<Sheet> sheets_;
    std::string sharedStrings_;
    bool hasSharedStrings_ = false;
    PackagePartSet parts_;
};

}  // namespace quillet::test
