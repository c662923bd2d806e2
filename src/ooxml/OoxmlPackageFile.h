#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class DocumentRecord;
class ZipArchive;

enum PackageKind : int {
    NoPackage = -1,
    WordProcessingPackage = 0,
    SpreadsheetPackage = 1,
    PresentationPackage = 2,
};

// An OOXML package opened for one call, and the choice of its reader.
class OoxmlPackageFile {
public:
    // path in the local 8-bit encoding.
    explicit OoxmlPackageFile(const std::string& path);
    ~OoxmlPackageFile();
    OoxmlPackageFile(const OoxmlPackageFile&) = delete;
    OoxmlPackageFile& operator=(const OoxmlPackageFile&) = delete;

    // By fixed main-part names, the first of workbook, document, presentation.
    int packageKind() const;
    // A result code: 4097 for a package of no known kind, 4099 when text is
    // asked for and the package holds no main part, else the reader's.
    // With a record, the properties and parts go into it too.
    uint32_t exportPackage(const std::string& folder, uint32_t flags, DocumentRecord* record = nullptr);
    // 0 with the body text of a word-processing package, else 4097.
    uint32_t packageContent(QString& text);

private:
    std::unique_ptr<ZipArchive> archive_;
    std::string path_;
};

}  // namespace quillet
