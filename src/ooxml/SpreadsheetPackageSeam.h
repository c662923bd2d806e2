#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class ZipArchive;

// Where the package dispatch hands over a spreadsheet package.
uint32_t exportSpreadsheetPackage(ZipArchive& archive, const std::string& folder, uint32_t flags);

}  // namespace quillet
