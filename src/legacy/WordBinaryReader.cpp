#include "legacy/WordBinaryReader.h"

#include "compound/CompoundFile.h"
#include "legacy/BinaryPictures.h"
#include "legacy/Word6BinaryReader.h"
#include "legacy/WordText.h"

#include <quillet/quillet.h>

#include <algorithm>

namespace quillet {
namespace {

// Pieces may share their bytes, but a piece table that names the same text
// over and over must not multiply the stream without bound.
constexpr int64_t kTextBudgetPerStreamByte = 4;

}  // namespace

int WordBinaryReader::open()
{
    if (file_.openStream("ZebEncryptionInfo"))
        return Encrypted;
    wordDocument_ = file_.openStream("WordDocument");
    if (!wordDocument_)
        return WordStructureMissing;
    const int fibResult = fib_.read(*wordDocument_);
    if (fibResult != Success)
        return fibResult;
    if (fib_.encrypted)
        return Encrypted;
    table_ = file_.openStream(fib_.useOneTable ? "1Table" : "0Table");
    if (!table_)
        return WordStructureMissing;
    return WordPiece::readTable(*table_, fib_.pieceTableOffset, pieces_);
}

std::u16string WordBinaryReader::pieceText(const WordPiece& piece, int64_t& budget)
{
    std::u16string text;
    // A piece that starts outside the stream has no text of its own.
    if (!wordDocument_->seek(piece.byteOffset))
        return text;
    const int64_t characters = std::max<int64_t>(int64_t(piece.endCharacter) - piece.firstCharacter, 0);
    int64_t bytes = piece.unicode ? characters * 2 : characters;
    bytes = std::min({bytes, wordDocument_->remaining(), budget});
    budget -= bytes;
    wordDocument_->readText(text, static_cast<size_t>(bytes), piece.unicode);
    if (!piece.unicode)
        for (char16_t& unit : text)
            unit = windows1252Character(static_cast<uint8_t>(unit));
    removeFieldCodes(text);
    return text;
}

void WordBinaryReader::appendPieces(bool separated)
{
    static const std::u16string kPieceEnd = u"\r\n";
    int64_t budget = wordDocument_->size() * kTextBudgetPerStreamByte;
    for (const WordPiece& piece : pieces_) {
        sink_->appendWide(pieceText(piece, budget));
        if (separated)
            sink_->appendWide(kPieceEnd);
    }
}

void WordBinaryReader::writePictures(const std::string& folder)
{
    int64_t counter = 0;
    if (fib_.drawingGroupSize > 0)
        extractWordDrawingGroupPictures(*table_, fib_, *wordDocument_, file_, folder, counter);
    data_ = file_.openStream("Data");
    if (data_ && data_->status() == 0)
        extractWordDataPictures(*data_, data_->remaining(), folder, counter);
}

int WordBinaryReader::exportDocument(const std::string& folder, uint32_t flags)
{
    const int result = open();
    if (result != Success)
        return result;
    if ((flags & WriteText) != 0) {
        sink_ = std::make_unique<TextSink>(folder);
        appendPieces(true);
        sink_->close();
    }
    if ((flags & WritePictures) != 0)
        writePictures(folder);
    return Success;
}

int WordBinaryReader::extractText(QString& text)
{
    const int result = open();
    if (result != Success)
        return result;
    sink_ = std::make_unique<TextSink>(std::string());
    appendPieces(false);
    text = sink_->text();
    return Success;
}

// Word 6.0 and Word 95 files fail the Word 97 block's checks; only then does
// their version number lead to the older layout, so every file the Word 97
// reader reads keeps its answer.
int exportWordDocument(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    int result = WordBinaryReader(file).exportDocument(folder, flags);
    if (result == WordStructureMissing && isWord6Document(file))
        result = exportWord6Document(file, folder, flags);
    return result;
}

int extractWordDocumentText(CompoundFile& file, QString& text)
{
    int result = WordBinaryReader(file).extractText(text);
    if (result == WordStructureMissing && isWord6Document(file))
        result = extractWord6DocumentText(file, text);
    return result;
}

}  // namespace quillet
