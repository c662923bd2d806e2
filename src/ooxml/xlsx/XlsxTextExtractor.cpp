#include "ooxml/xlsx/XlsxTextExtractor.h"

#include "ooxml/RelationshipIndex.h"
#include "ooxml/xlsx/SharedStringsHandler.h"
#include "ooxml/xlsx/SheetDrawingHandler.h"
#include "ooxml/xlsx/StylesHandler.h"
#include "ooxml/xlsx/WorkbookHandler.h"
#include "ooxml/xlsx/WorksheetHandler.h"
#include "ooxml/xlsx/XlsxCommentsHandler.h"
#include "ooxml/xlsx/XlsxExtractContext.h"
#include "output/OutputFailure.h"
#include "output/TextSink.h"
#include "package/MemoryBudget.h"
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/XmlPart.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {
namespace {

constexpr uint32_t kTextAndExtras = 0x110;
constexpr const char* kDrawingRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
constexpr const char* kStylesRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

}  // namespace

XlsxTextExtractor::XlsxTextExtractor() : context_(std::make_unique<XlsxExtractContext>()) {}

XlsxTextExtractor::~XlsxTextExtractor() = default;

uint32_t XlsxTextExtractor::exportText(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    context_->flags = flags;
    context_->budget = &archive.budget();
    PackagePart* workbook = openMainPart(archive, folder, flags);
    if (workbook == nullptr)
        return uint32_t(pictureError_);
    WorkbookHandler workbookRoot(context_.get());
    parseXmlPart(&archive, workbook->path(), &workbookRoot, Vocabulary::Spreadsheet);

    RelationshipList* relationships = workbook->relationships();
    bool stringsCut = false;
    if (PackagePart* strings = firstTargetOfType(relationships, relationship_type::SharedStrings)) {
        SharedStringsHandler root(context_.get());
        try {
            parseXmlPart(&archive, strings->path(), &root, Vocabulary::Spreadsheet);
        } catch (const BudgetExceeded&) {
            // Worksheets could not name the strings beyond: what was read
            // stands for the workbook.
            stringsCut = true;
        }
    }
    if (PackagePart* styles = firstTargetOfType(relationships, kStylesRelationship)) {
        StylesHandler root(context_.get());
        parseXmlPart(&archive, styles->path(), &root, Vocabulary::Spreadsheet);
    }
    // Nothing reads an in-memory copy on the export path.
    makeSink(folder);

    // A missing part counts -1; a sum below zero, like a part that is on its
    // own too large, wraps to a huge number.
    const RelationshipIndex sheets(relationships);
    uint64_t total = 0;
    bool tooLarge = false;
    for (const SheetRecord& sheet : context_->sheets) {
        if (const PackagePart* part = sheets.targetPart(sheet.relationshipId)) {
            const int64_t size = part->size();
            if (size < 0 && size != -1)
                tooLarge = true;  // declared beyond 2^63
            else if (size != -1 && uint64_t(size) >= kWorksheetBound)
                tooLarge = true;
            total += uint64_t(size);
        }
    }
    if (!stringsCut && !tooLarge && total < kWorksheetBound) {
        int number = 0;
        for (const SheetRecord& sheet : context_->sheets) {
            ++number;
            if (PackagePart* part = sheets.targetPart(sheet.relationshipId)) {
                sink_->beginPart("sheet", number, sheet.name);
                processWorksheet(*part, flags);
            }
        }
    } else {
        sink_->beginPart("strings", 1);
        for (const std::string& text : context_->sharedStrings) {
            sink_->appendUtf8(text);
            sink_->appendUtf8(" ", 1);
        }
    }
    OutputFailure failure(pictureError_);
    failure.note(sink_->close());
    return failure.result(stringsCut ? SharedStringsOnly : Success);
}

void XlsxTextExtractor::processWorksheet(PackagePart& part, uint32_t flags)
{
    WorksheetHandler root(sink_.get(), context_.get());
    parseXmlPart(part.archive(), part.path(), &root, Vocabulary::Spreadsheet);
    if ((flags & kTextAndExtras) != kTextAndExtras)
        return;
    if (PackagePart* target = firstTargetOfType(part.relationships(), relationship_type::Comments)) {
        XlsxCommentsHandler root(sink_.get(), context_.get());
        parseXmlPart(target->archive(), target->path(), &root, Vocabulary::Spreadsheet);
        sink_->appendUtf8("\n\t", 2);
    }
    if (PackagePart* drawing = firstTargetOfType(part.relationships(), kDrawingRelationship)) {
        SheetDrawingHandler root(sink_.get());
        parseXmlPart(drawing->archive(), drawing->path(), &root, Vocabulary::Spreadsheet);
    }
}

}  // namespace quillet
