#include "ooxml/docx/DocxTextExtractor.h"

#include "ooxml/docx/DocxCommentsHandler.h"
#include "ooxml/docx/DocxDocumentHandler.h"
#include "ooxml/docx/ListNumbering.h"
#include "output/OutputFailure.h"
#include "output/TextSink.h"
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/XmlPart.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

#include <utility>

namespace quillet {

DocxTextExtractor::DocxTextExtractor() = default;

DocxTextExtractor::~DocxTextExtractor() = default;

uint32_t DocxTextExtractor::exportText(ZipArchive* archive, const std::string& folder, uint32_t flags)
{
    context_.flags = flags;
    context_.referenceIds.clear();
    PackagePart* main = openMainPart(*archive, folder, flags);
    if (main == nullptr)
        return OutputFailure(pictureError_).result(mainPartMissing() ? WordStructureMissing : Success);
    makeSink(folder);
    documentSteps(*main, true);
    OutputFailure output(pictureError_);
    output.note(sink_->close());
    return output.result(Success);
}

void DocxTextExtractor::readText(ZipArchive* archive, QString& text)
{
    context_.flags = WriteText;
    context_.referenceIds.clear();
    package_ = std::make_unique<OpcPackage>(archive);
    PackagePart* main = existingMainPart();
    if (main == nullptr)
        return;
    sink_ = std::make_unique<TextSink>(std::string());
    documentSteps(*main, false);
    text = sink_->text();
}

void DocxTextExtractor::documentSteps(PackagePart& main, bool exportPath)
{
    ZipArchive* archive = package_->archive();
    context_.referenceIds.clear();
    context_.budget = &archive->budget();
    // Read only when a list paragraph asks for its label.
    numbering_ = std::make_unique<ListNumbering>(*archive, main.path());
    context_.numbering = numbering_.get();
    sink_->beginPart("body", 1);
    if (static_cast<uint64_t>(main.size()) < kMaxBodyBytes) {
        DocxDocumentHandler root(sink_.get(), &context_);
        parseXmlPart(archive, main.path(), &root, Vocabulary::WordProcessing);
    }
    RelationshipList* relationships = main.relationships();
    if (relationships == nullptr)
        return;
    if (exportPath && context_.readsExtras()) {
        if (PackagePart* part = firstTargetOfType(relationships, relationship_type::Comments)) {
            // Comment lines end rather than start with a line break, and the
            // body's last paragraph has none: in "1.txt" they must not run together.
            if (sink_->hasFile() && !sink_->endsLine())
                sink_->appendUtf8("\n", 1);
            sink_->beginPart("comments", 1);
            DocxCommentsHandler root(sink_.get(), &context_);
            parseXmlPart(archive, part->path(), &root, Vocabulary::WordProcessing);
        }
        const std::pair<const char*, const char*> notes[] = {{relationship_type::Footnotes, "footnotes"},
                                                             {relationship_type::Endnotes, "endnotes"}};
        for (const auto& [type, kind] : notes) {
            PackagePart* part = firstTargetOfType(relationships, type);
            if (part != nullptr && uint64_t(part->size()) < kMaxBodyBytes) {
                sink_->beginPart(kind, 1);
                DocxNotesHandler root(sink_.get(), &context_);
                parseXmlPart(archive, part->path(), &root, Vocabulary::WordProcessing);
            }
        }
    }
    readHeadersAndFooters(main);
}

void DocxTextExtractor::readHeadersAndFooters(PackagePart& main)
{
    ZipArchive* archive = package_->archive();
    RelationshipList* relationships = main.relationships();
    const std::vector<std::string> ids = std::move(context_.referenceIds);
    uint64_t budget = kMaxStoryBytes;
    bool begun = false;
    for (const std::string& id : ids) {
        Relationship* relationship = relationships->findById(id);
        PackagePart* part = relationship != nullptr ? relationship->getTargetPart() : nullptr;
        if (part == nullptr)
            continue;
        const std::string type = relationship->type();
        if (type != relationship_type::Header && type != relationship_type::Footer)
            continue;
        const int64_t size = part->size();
        if (size < 0)
            continue;
        if (static_cast<uint64_t>(size) > budget)
            break;
        budget -= static_cast<uint64_t>(size);
        if (!begun)
            sink_->beginPart("headers", 1);
        begun = true;
        DocxStoryHandler root(sink_.get(), &context_);
        parseXmlPart(archive, part->path(), &root, Vocabulary::WordProcessing);
    }
}

}  // namespace quillet
