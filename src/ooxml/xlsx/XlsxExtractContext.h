#pragma once

#include "numberformat/CellFormats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class MemoryBudget;

// One sheet element of the workbook part.
struct SheetRecord {
    std::string sheetId;
    std::string relationshipId;
    std::string name;
};

// Shared by every handler of one spreadsheet export.
struct XlsxExtractContext {
    uint32_t flags = 0;
    // The archive's: the shared strings are charged to it.
    MemoryBudget* budget = nullptr;
    std::vector<std::string> sharedStrings;
    // In workbook order.
    std::vector<SheetRecord> sheets;
    // The styles part's number formats and cell styles, and the date system.
    CellFormats formats;
};

}  // namespace quillet
