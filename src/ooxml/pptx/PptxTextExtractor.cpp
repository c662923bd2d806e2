#include "ooxml/pptx/PptxTextExtractor.h"

#include "ooxml/RelationshipIndex.h"
#include "ooxml/pptx/PptxCommentListHandler.h"
#include "ooxml/pptx/PptxExtractContext.h"
#include "ooxml/pptx/PresentationHandler.h"
#include "ooxml/pptx/SlideHandler.h"
#include "output/OutputFailure.h"
#include "output/TextSink.h"
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/RelationshipPaths.h"
#include "package/opc/XmlPart.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

#include <unordered_set>

namespace quillet {
namespace {

constexpr uint32_t kTextAndExtras = 0x110;

}  // namespace

PptxTextExtractor::PptxTextExtractor() = default;

PptxTextExtractor::~PptxTextExtractor() = default;

uint32_t PptxTextExtractor::exportText(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    context_ = std::make_unique<PptxExtractContext>();
    context_->flags = flags;
    context_->budget = &archive.budget();
    PackagePart* presentation = openMainPart(archive, folder, flags);
    if (presentation == nullptr)
        return OutputFailure(pictureError_).result(mainPartMissing() ? PackageStructureMissing : Success);
    // Without relationships a presentation names no slides.
    if (!archive.hasEntry(relationshipPartPath(presentation->path())))
        return PackageStructureMissing;
    PresentationHandler root(context_.get());
    parseXmlPart(&archive, presentation->path(), &root, Vocabulary::Presentation);

    const RelationshipIndex slides(presentation->relationships());
    // Nothing reads an in-memory copy on the export path.
    makeSink(folder);
    // A slide listed again is not read again: its text is already written,
    // and repeats would let a small file demand unbounded work.
    std::unordered_set<std::string> read;
    const std::vector<std::string> slideIds = std::move(context_->slideIds);
    int number = 0;
    for (const std::string& id : slideIds) {
        ++number;
        PackagePart* slide = slides.targetPart(id);
        if (slide == nullptr || uint64_t(slide->size()) >= kSlideBound || !read.insert(slide->path()).second)
            continue;
        readSlide(*slide, number);
        sink_->appendUtf8("\n\t", 2);
    }
    OutputFailure output(pictureError_);
    output.note(sink_->close());
    return output.result(Success);
}

void PptxTextExtractor::readSlide(PackagePart& slide, int number)
{
    sink_->beginPart("slide", number);
    context_->diagramIds.clear();
    SlideHandler root(sink_.get(), context_.get());
    parseXmlPart(slide.archive(), slide.path(), &root, Vocabulary::Presentation);
    if (!context_->diagramIds.empty())
        readDiagrams(slide);
    if ((context_->flags & kTextAndExtras) != kTextAndExtras)
        return;
    RelationshipList* relationships = slide.relationships();
    if (PackagePart* notes = firstTargetOfType(relationships, relationship_type::NotesSlide)) {
        sink_->beginPart("notes", number);
        NotesHandler notesRoot(sink_.get(), context_.get());
        parseXmlPart(notes->archive(), notes->path(), &notesRoot, Vocabulary::Presentation);
    }
    if (PackagePart* comments = firstTargetOfType(relationships, relationship_type::Comments)) {
        sink_->beginPart("comments", number);
        PptxCommentListHandler commentsRoot(sink_.get(), context_.get());
        parseXmlPart(comments->archive(), comments->path(), &commentsRoot, Vocabulary::Presentation);
    }
}

void PptxTextExtractor::readDiagrams(PackagePart& slide)
{
    const std::vector<std::string> ids = context_->diagramIds;
    RelationshipList* relationships = slide.relationships();
    for (const std::string& id : ids) {
        Relationship* relationship = relationships->findById(id);
        if (relationship == nullptr || relationship->type() != relationship_type::DiagramData)
            continue;
        PackagePart* data = relationship->getTargetPart();
        if (data == nullptr || uint64_t(data->size()) >= kSlideBound)
            continue;
        DiagramDataHandler diagramRoot(sink_.get(), context_.get());
        parseXmlPart(data->archive(), data->path(), &diagramRoot, Vocabulary::Presentation);
    }
}

}  // namespace quillet
