#include "ooxml/SpreadsheetPackageSeam.h"

#include <quillet/quillet.h>

namespace quillet {

// No spreadsheet package reader exists yet: such packages are unsupported
// and nothing is written, pictures included.
uint32_t exportSpreadsheetPackage(ZipArchive&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
