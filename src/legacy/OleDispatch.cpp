#include "legacy/OleDispatch.h"

#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "legacy/CompoundProperties.h"
#include "legacy/OleEntry.h"
#include "legacy/excel/ExcelBinaryReader.h"
#include "legacy/powerpoint/PptTextReader.h"
#include "legacy/word/WordBinaryReader.h"
#include "output/DocumentRecord.h"
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

// Only the document's own streams count: a document that embeds another
// keeps the embedded one's streams in a storage of their own.
OleDocumentKind decideDocumentKind(const CompoundFile& file, const std::string& path)
{
    const bool word = file.hasOwnEntry(kWordStream);
    const bool excel = file.hasOwnEntry(kExcelStream) || file.hasOwnEntry(kExcel5Stream);
    const bool powerPoint = file.hasOwnEntry(kPowerPointStream);
    if (word && !excel && !powerPoint)
        return WordKind;
    if (!word && excel && !powerPoint)
        return ExcelKind;
    if (!word && !excel && powerPoint)
        return PowerPointKind;
    if (file.hasOwnEntry(kEncryptedPackage))
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

uint32_t exportOleDocument(const std::string& source, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    CompoundFile file(source);
    if (file.error() != 0)
        return static_cast<uint32_t>(file.error());
    if (record != nullptr)
        record->metadata() = readCompoundProperties(file);
    switch (decideDocumentKind(file, source)) {
    case WordKind:
        return static_cast<uint32_t>(exportWordDocument(file, folder, flags, record));
    case ExcelKind:
        return static_cast<uint32_t>(exportExcelDocument(file, folder, flags, record));
    case PowerPointKind:
        return static_cast<uint32_t>(exportPresentationDocument(file, folder, flags, record));
    case EncryptedPackageKind:
        return Encrypted;
    case AmbiguousKind:
        // Only success or "unsupported": the individual codes are not passed on.
        // Parts marked by a reader that then failed are not the text's.
        for (auto* reader : {exportExcelDocument, exportWordDocument, exportPresentationDocument}) {
            if (record != nullptr)
                record->clearParts();
            if (reader(file, folder, flags, record) == Success)
                return Success;
        }
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
        // findEntry looks among the document's own streams first.
        const auto opens = [&file](const char* stream) { return file.hasOwnEntry(stream) && file.openStream(stream); };
        const char* name = nullptr;
        if (opens(kExcelStream) || opens(kExcel5Stream))
            name = format::Xls;
        if (opens(kWordStream))
            name = format::Doc;
        if (opens(kPowerPointStream))
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
