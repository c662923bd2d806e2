#include "legacy/word/WordBinaryReader.h"

#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "legacy/word/Word6BinaryReader.h"
#include "legacy/word/WordPictures.h"
#include "legacy/word/WordText.h"

#include <quillet/quillet.h>

#include <algorithm>

namespace quillet {
namespace {

// Even, so that a block never splits a UTF-16 unit.
constexpr int64_t kBlockBytes = 64 * 1024;

}  // namespace

int WordBinaryReader::open()
{
    const int opened = openWordDocument();
    if (opened != Success)
        return opened;
    const int fibResult = fib_.read(*wordDocument_);
    if (fibResult != Success)
        return fibResult;
    if (fib_.encrypted)
        return Encrypted;
    table_ = file_.openStream(fib_.useOneTable ? "1Table" : "0Table");
    if (!table_)
        return WordStructureMissing;
    static constexpr const char* kStoryKinds[7] = {"footnotes", "headers",   "macros",          "comments",
                                                   "endnotes",  "textboxes", "header_textboxes"};
    int64_t start = fib_.mainTextCharacters;
    for (int i = 0; i < 7 && start < INT32_MAX; ++i) {
        if (fib_.storyCharacters[i] > 0)
            addStory(int32_t(start), kStoryKinds[i]);
        start += fib_.storyCharacters[i];
    }
    const int pieces = WordPiece::readTable(*table_, fib_.pieceTableOffset, pieces_);
    if (pieces == Success)
        readLists();
    return pieces;
}

// Labels are an addition: damaged list data leaves the text without them.
void WordBinaryReader::readLists()
{
    try {
        paragraphs_.read(*wordDocument_, *table_, fib_);
        if (paragraphs_.anyList())
            numbering_.read(*table_, fib_);
        labelled_ = paragraphs_.anyList() && !numbering_.empty();
    } catch (const CompoundFileError&) {
        labelled_ = false;
    }
}

void WordBinaryReader::appendLabelled(const char16_t* units, size_t count, size_t piece, int32_t cp)
{
    if (!labelled_) {
        appendText(units, count);
        return;
    }
    size_t from = 0;
    for (size_t i = 0; i < count; ++i) {
        if (paragraphStarts_) {
            paragraphStarts_ = false;
            const WordParagraphLists::Membership list = paragraphs_.at(pieces_, piece, cp + int32_t(i));
            if (list.override > 0) {
                appendText(units + from, i - from);
                from = i;
                label_.clear();
                numbering_.appendLabel(list.override, list.level, label_);
                appendText(label_.data(), label_.size());
            }
        }
        // Paragraph and table cell marks.
        paragraphStarts_ = units[i] == u'\r' || units[i] == 0x07;
    }
    appendText(units + from, count - from);
}

// The piece goes to the sink in blocks, so no piece is held whole.
void WordBinaryReader::appendPiece(const WordPiece& piece, int64_t& budget)
{
    // A piece that starts outside the stream has no text of its own.
    if (!wordDocument_->seek(piece.byteOffset))
        return;
    const int64_t characters = std::max<int64_t>(int64_t(piece.endCharacter) - piece.firstCharacter, 0);
    int64_t bytes = piece.unicode ? characters * 2 : characters;
    bytes = std::min({bytes, wordDocument_->remaining(), budget});
    budget -= bytes;
    // No larger than the piece: a small document touches no more memory than it needs.
    const int64_t blockUnits = std::min<int64_t>(piece.unicode ? bytes / 2 : bytes, kBlockBytes / 2);
    if (block_.size() < static_cast<size_t>(blockUnits))
        block_.resize(static_cast<size_t>(blockUnits));
    const size_t index = static_cast<size_t>(&piece - pieces_.data());
    int32_t cp = piece.firstCharacter;
    while (bytes > 0) {
        const size_t take = static_cast<size_t>(std::min(bytes, piece.unicode ? kBlockBytes : kBlockBytes / 2));
        size_t units = take;
        if (piece.unicode) {
            // UTF-16LE units land as they are; an odd last byte is passed over.
            units = take / 2;
            wordDocument_->readBytes(block_.data(), units * 2);
            wordDocument_->skip(static_cast<int64_t>(take % 2));
        } else {
            // Widened from the back, so each byte is read before its unit is written.
            auto* bytesAt = reinterpret_cast<uint8_t*>(block_.data());
            wordDocument_->readBytes(bytesAt, take);
            for (size_t i = take; i-- > 0;)
                block_[i] = windows1252Character(bytesAt[i]);
        }
        for (size_t done = 0; done < units;) {
            const size_t run = storyRun(cp, units - done);
            appendLabelled(block_.data() + done, run, index, cp);
            done += run;
            cp += static_cast<int32_t>(run);
        }
        bytes -= static_cast<int64_t>(take);
    }
}

int WordBinaryReader::writePictures(const std::string& folder)
{
    int64_t counter = 0;
    if (fib_.drawingGroupSize > 0) {
        if (const int failed = extractWordDrawingGroupPictures(*table_, fib_, *wordDocument_, file_, folder, counter))
            return failed;
    }
    data_ = file_.openStream("Data");
    if (data_ && data_->status() == 0)
        return extractWordDataPictures(*data_, data_->remaining(), folder, counter);
    return 0;
}

// Word 6.0 and Word 95 files fail the Word 97 block's checks; only then does
// their version number lead to the older layout, so every file the Word 97
// reader reads keeps its answer.
int exportWordDocument(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    int result = WordBinaryReader(file).exportDocument(folder, flags, record);
    if (result == WordStructureMissing && isWord6Document(file))
        result = exportWord6Document(file, folder, flags, record);
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
