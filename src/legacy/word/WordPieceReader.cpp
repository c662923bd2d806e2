#include "legacy/word/WordPieceReader.h"

#include "compound/CompoundFile.h"
#include "output/OutputFailure.h"

#include <quillet/quillet.h>

namespace quillet {
namespace {

// Pieces may share their bytes, but a piece table that names the same text
// over and over must not multiply the stream without bound.
constexpr int64_t kTextBudgetPerStreamByte = 4;

}  // namespace

int WordPieceReader::openWordDocument()
{
    if (file_.openStream("ZebEncryptionInfo"))
        return Encrypted;
    wordDocument_ = file_.openStream("WordDocument");
    return wordDocument_ ? Success : WordStructureMissing;
}

void WordPieceReader::appendText(const char16_t* units, size_t count)
{
    kept_.clear();
    fields_.feed(units, count, kept_);
    sink_->appendWide(kept_);
}

void WordPieceReader::appendPieces()
{
    int64_t budget = wordDocument_->size() * kTextBudgetPerStreamByte;
    for (const WordPiece& piece : pieces_)
        appendPiece(piece, budget);
    kept_.clear();
    fields_.finish(kept_);
    sink_->appendWide(kept_);
}

void WordPieceReader::addStory(int32_t start, const char* kind)
{
    if (stories_.empty() || start > stories_.back().start)
        stories_.push_back({start, kind});
    else if (start == stories_.back().start)
        stories_.back().kind = kind;
}

size_t WordPieceReader::storyRun(int32_t cp, size_t count)
{
    // Pieces may come out of order: only a story reached in order begins a part.
    while (storiesBegun_ < stories_.size() && stories_[storiesBegun_].start <= cp) {
        const Story& story = stories_[storiesBegun_++];
        if (story.start == cp && sink_)
            sink_->beginPart(story.kind, 1);
    }
    if (storiesBegun_ < stories_.size() && int64_t(stories_[storiesBegun_].start) - cp < int64_t(count))
        return size_t(stories_[storiesBegun_].start - cp);
    return count;
}

int WordPieceReader::exportDocument(const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    const int result = open();
    if (result != Success)
        return result;
    OutputFailure output;
    if ((flags & WriteText) != 0) {
        sink_ = std::make_unique<TextSink>(folder, TextSink::FileForm::Utf8Lines);
        sink_->setRecord(record);
        sink_->beginPart("body", 1);
        appendPieces();
        // One line feed: CR LF once the file is UTF-8.
        static constexpr char16_t kLineBreak = u'\n';
        sink_->appendWide(&kLineBreak, 1);
        output.note(sink_->close());
    }
    if ((flags & WritePictures) != 0)
        output.note(writePictures(folder));
    return int(output.result(Success));
}

int WordPieceReader::extractText(QString& text)
{
    const int result = open();
    if (result != Success)
        return result;
    sink_ = std::make_unique<TextSink>(std::string());
    appendPieces();
    text = sink_->text();
    return Success;
}

}  // namespace quillet
