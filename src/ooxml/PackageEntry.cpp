#include "ooxml/PackageEntry.h"

#include "ooxml/OoxmlPackageFile.h"

#include <quillet/quillet.h>

namespace quillet {

const char* packageFormatName(const std::string& path)
{
    switch (OoxmlPackageFile(path).packageKind()) {
    case SpreadsheetPackage:
        return format::Xlsx;
    case WordProcessingPackage:
        return format::Docx;
    case PresentationPackage:
        return format::Pptx;
    default:
        return nullptr;
    }
}

uint32_t exportPackageDocument(const std::string& source, const std::string& folder, uint32_t flags,
                               DocumentRecord* record)
{
    return OoxmlPackageFile(source).exportPackage(folder, flags, record);
}

void packageDocumentContent(const std::string& path, QString& text)
{
    OoxmlPackageFile(path).packageContent(text);
}

}  // namespace quillet
