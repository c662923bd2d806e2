// Both spreadsheet readers against LibreOffice's "as shown" CSV of the same
// workbook (xls/cells.fods, saved as xls/cells.xls and xlsx/cells.xlsx):
// dates, times, percentages, currency, fractions, formulas, booleans, errors,
// long numbers and runs of numbers, cell for cell.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <sstream>

using namespace quillet;
using namespace quillet::test;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Rows of non-empty cells: split at line feeds and at `separator`.
Rows cells(const std::string& text, char separator)
{
    Rows rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> row;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, separator)) {
            if (!field.empty())
                row.push_back(field);
        }
        if (!row.empty())
            rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(SpreadsheetCells, EqualLibreOfficesTextAsShown)
{
    const std::string data = QUILLET_TEST_DATA;
    const Rows expected = cells(readFile(data + "/expected/cells.csv"), '\t');
    ASSERT_EQ(expected.size(), 9u);
    // LibreOffice saves no string result of a formula in xls (no STRING record): the 0 it saves is shown.
    Rows binary = expected;
    binary[5][1] = binary[8][2] = "0";
    for (const char* name : {"xls/cells.xls", "xlsx/cells.xlsx"}) {
        SCOPED_TRACE(name);
        const bool isBinary = std::string(name).compare(0, 4, "xls/") == 0;
        TempDir out;
        ASSERT_EQ(export2Txt((data + "/" + name).c_str(), out.path().c_str(), 0, WriteText, 0), Success);
        // UTF-8 from both: the binary reader's text is re-encoded, with "\r\n" line ends.
        EXPECT_EQ(cells(readFile(out.file("1.txt")), '\t'), isBinary ? binary : expected);
    }
}
