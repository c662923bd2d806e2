#pragma once

#include "ooxml/PackageTextExtractor.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class PackagePart;
class ZipArchive;
struct XlsxExtractContext;

// The text of a spreadsheet package: the cell values of every worksheet in
// workbook order; with flags 0x110 also odd-page headers, footers and cell
// comments. Workbooks whose worksheets total 10 MiB or more are written as
// their shared strings only. One extractor serves one export.
class XlsxTextExtractor : public PackageTextExtractor {
public:
    XlsxTextExtractor();
    ~XlsxTextExtractor();

    // Flag 0x01 writes the pictures first; without 0x10 nothing else happens.
    // 0, or 1 when the shared strings outgrew the archive's budget: those read
    // until then are written instead of the worksheets; or the error number of
    // a picture or text file that could not be made.
    uint32_t exportText(ZipArchive& archive, const std::string& folder, uint32_t flags);

    // The summed uncompressed size of the worksheets from which on no
    // worksheet is parsed.
    static constexpr uint64_t kWorksheetBound = 0xA00000;

private:
    void processWorksheet(PackagePart& part, uint32_t flags);

    std::unique_ptr<XlsxExtractContext> context_;
};

}  // namespace quillet
