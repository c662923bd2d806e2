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

void WordPieceReader::appendPieces(bool separated)
{
    static constexpr char16_t kPieceEnd[] = u"\r\n";
    int64_t budget = wordDocument_->size() * kTextBudgetPerStreamByte;
    for (const WordPiece& piece : pieces_) {
        appendPiece(piece, budget);
        if (separated)
            sink_->appendWide(kPieceEnd, 2);
    }
}

int WordPieceReader::exportDocument(const std::string& folder, uint32_t flags)
{
    const int result = open();
    if (result != Success)
        return result;
    OutputFailure output;
    if ((flags & WriteText) != 0) {
        sink_ = std::make_unique<TextSink>(folder);
        appendPieces(true);
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
    appendPieces(false);
    text = sink_->text();
    return Success;
}

}  // namespace quillet
