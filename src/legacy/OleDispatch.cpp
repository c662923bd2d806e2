#include "legacy/OleDispatch.h"

#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "legacy/OleEntry.h"
#include "legacy/excel/ExcelBinaryReader.h"
#include "legacy/powerpoint/PptTextReader.h"
#include "legacy/word/WordBinaryReader.h"
#include "platform/Ascii.h"

#include <quillet/quillet.h>

namespace quillet {
namespace {

const char kWordStream[] = "WordDocument";
const char kExcelStream[] = "Workbook";
const char kExcel5Stream[] = "Book";
const char kPowerPointStream[] = "PowerPoint Document";
const char kEncryptedPackage[] = "EncryptedPackage";

// The last four characters, ASCII letters lowered; empty for shorter paths,
// which then match no extension.
std::string extensionOf(const std::string& path)
{
    if (path.size() < 4)
        return {};
    return asciiLower(path.substr(path.size() - 4));
}

}  // namespace

OleDocumentKind decideDocumentKind(const CompoundFile& file, const std::string& path)
{
    const bool word = file.hasEntry(kWordStream);
    const bool excel = file.hasEntry(kExcelStream) || file.hasEntry(kExcel5Stream);
    const bool powerPoint = file.hasEntry(kPowerPointStream);
    if (word && !excel && !powerPoint)
        return WordKind;
    if (!word && excel && !powerPoint)
        return ExcelKind;
    if (!word && !excel && powerPoint)
        return PowerPointKind;
    if (file.hasEntry(kEncryptedPackage))
        return EncryptedPackageKind;
    if (!word && !excel && !powerPoint)
        return NoDocument;
    const std::string extension = extensionOf(path);
    if (word && extension == ".doc")
        return WordKind;
    if (excel && extension == ".xls")
        return ExcelKind;
    if (powerPoint && extension == ".ppt")
        return PowerPointKind;
    return AmbiguousKind;
}

uint32_t exportOleDocument(const std::string& source, const std::string& folder, uint32_t flags)
{
    CompoundFile file(source);
    if (file.error() != 0)
        return static_cast<uint32_t>(file.error());
    switch (decideDocumentKind(file, source)) {
    case WordKind:
        return static_cast<uint32_t>(exportWordDocument(file, folder, flags));
    case ExcelKind:
        return static_cast<uint32_t>(exportExcelDocument(file, folder, flags));
    case PowerPointKind:
        return static_cast<uint32_t>(exportPresentationDocument(file, folder, flags));
    case EncryptedPackageKind:
        return Encrypted;
    case AmbiguousKind:
        // Only success or "unsupported": the individual codes are not passed on.
        if (exportExcelDocument(file, folder, flags) == Success || exportWordDocument(file, folder, flags) == Success ||
            exportPresentationDocument(file, folder, flags) == Success)
            return Success;
        return Unsupported;
    default:
        return Unsupported;
    }
}

const char* oleFormatName(const std::string& path)
{
    try {
        CompoundFile file(path);
        if (file.error() != 0)
            return nullptr;
        const char* name = nullptr;
        if (file.openStream(kExcelStream))
            name = format::Xls;
        if (file.openStream(kWordStream))
            name = format::Doc;
        if (file.openStream(kPowerPointStream))
            name = format::Ppt;
        return name;
    } catch (const CompoundFileError&) {
        return nullptr;
    }
}

void oleDocumentContent(const std::string& path, QString& text)
{
    CompoundFile file(path);
    if (file.error() != 0 || decideDocumentKind(file, path) != WordKind)
        return;
    extractWordDocumentText(file, text);
}

}  // namespace quillet
