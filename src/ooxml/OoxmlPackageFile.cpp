#include "ooxml/OoxmlPackageFile.h"

#include "ooxml/docx/DocxTextExtractor.h"
#include "ooxml/pptx/PptxTextExtractor.h"
#include "ooxml/xlsx/XlsxTextExtractor.h"
#include "output/DocumentRecord.h"
#include "output/OutputFailure.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {

OoxmlPackageFile::OoxmlPackageFile(const std::string& path) : archive_(std::make_unique<ZipArchive>(path)), path_(path)
{
}

OoxmlPackageFile::~OoxmlPackageFile() = default;

int OoxmlPackageFile::packageKind() const
{
    if (archive_->hasEntry("xl/workbook.xml"))
        return SpreadsheetPackage;
    if (archive_->hasEntry("word/document.xml"))
        return WordProcessingPackage;
    if (archive_->hasEntry("ppt/presentation.xml"))
        return PresentationPackage;
    return NoPackage;
}

uint32_t OoxmlPackageFile::exportPackage(const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    switch (packageKind()) {
    case WordProcessingPackage: {
        if (record != nullptr)
            record->setFormat(format::Docx);
        DocxTextExtractor extractor;
        extractor.setRecord(record);
        return extractor.exportText(archive_.get(), folder, flags);
    }
    case SpreadsheetPackage: {
        if (record != nullptr)
            record->setFormat(format::Xlsx);
        XlsxTextExtractor extractor;
        extractor.setRecord(record);
        const uint32_t result = extractor.exportText(*archive_, folder, flags);
        return extractor.mainPartMissing() ? PackageStructureMissing : result;
    }
    case PresentationPackage: {
        if (record != nullptr)
            record->setFormat(format::Pptx);
        PptxTextExtractor extractor;
        extractor.setRecord(record);
        return extractor.exportText(*archive_, folder, flags);
    }
    default:
        return Unsupported;
    }
}

uint32_t OoxmlPackageFile::packageContent(QString& text)
{
    if (packageKind() != WordProcessingPackage)
        return Unsupported;
    DocxTextExtractor extractor;
    extractor.readText(archive_.get(), text);
    return Success;
}

}  // namespace quillet
