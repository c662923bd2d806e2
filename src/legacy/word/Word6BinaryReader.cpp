#include "legacy/word/Word6BinaryReader.h"

#include "compound/CompoundFile.h"
#include "platform/CodePage.h"

#include <quillet/quillet.h>

#include <algorithm>

namespace quillet {

int Word6BinaryReader::open()
{
    const int opened = openWordDocument();
    if (opened != Success)
        return opened;
    fib_.read(*wordDocument_);
    if (fib_.encrypted)
        return Encrypted;
    // With extended characters the pieces are told apart as Word 97's are.
    if (fib_.complex)
        return WordPiece::readTable(*wordDocument_, fib_.pieceTableOffset, pieces_, !fib_.extendedCharacters);
    // A non-complex file is one run of text; a run that ends before it
    // starts is empty.
    WordPiece run;
    run.byteOffset = fib_.textStart;
    run.unicode = fib_.extendedCharacters;
    const int64_t bytes =
        std::min<int64_t>(std::max<int64_t>(int64_t(fib_.textEnd) - fib_.textStart, 0), wordDocument_->size());
    run.endCharacter = static_cast<int32_t>(run.unicode ? bytes / 2 : bytes);
    pieces_.assign(1, run);
    return Success;
}

void Word6BinaryReader::appendPiece(const WordPiece& piece, int64_t& budget)
{
    // A piece that starts outside the stream has no text of its own.
    if (!wordDocument_->seek(piece.byteOffset))
        return;
    const int64_t characters = std::max<int64_t>(int64_t(piece.endCharacter) - piece.firstCharacter, 0);
    int64_t bytes = piece.unicode ? characters * 2 : characters;
    bytes = std::min({bytes, wordDocument_->remaining(), budget});
    budget -= bytes;
    std::string raw;
    wordDocument_->appendBytes(raw, static_cast<size_t>(bytes));
    std::u16string text;
    if (piece.unicode) {
        // An odd last byte is passed over.
        text.resize(raw.size() / 2);
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(uint8_t(raw[2 * i]) | (uint8_t(raw[2 * i + 1]) << 8));
    } else {
        text = platform::codePageToUtf16(fib_.codePage(), raw.data(), raw.size());
    }
    appendText(text.data(), text.size());
}

bool isWord6Document(CompoundFile& file)
{
    const std::unique_ptr<CompoundStream> wordDocument = file.openStream("WordDocument");
    return wordDocument && isWord6Layout(*wordDocument);
}

int exportWord6Document(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    Word6BinaryReader reader(file);
    return reader.exportDocument(folder, flags, record);
}

int extractWord6DocumentText(CompoundFile& file, QString& text)
{
    Word6BinaryReader reader(file);
    return reader.extractText(text);
}

}  // namespace quillet
