#pragma once

// The export entries of the binary spreadsheet and presentation readers,
// run by the OLE dispatch with an open compound file.

#include <cstdint>
#include <string>

namespace quillet {

class CompoundFile;

// BIFF8 workbooks ("Workbook" stream).
int exportExcelDocument(CompoundFile& file, const std::string& folder, uint32_t flags);
// Binary presentations ("PowerPoint Document" stream).
int exportPresentationDocument(CompoundFile& file, const std::string& folder, uint32_t flags);

}  // namespace quillet
