// The binary Word reader on documents built piece by piece.
#include "compound/CompoundFile.h"
#include "legacy/WordBinaryReader.h"
#include "legacy/WordPiece.h"
#include "legacy/WordText.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Exported {
    int code = -1;
    bool hasText = false;
    std::string text;  // "1.txt" as the reader wrote it (UTF-16LE)
};

Exported exportBytes(const std::string& bytes, uint32_t flags = WriteText)
{
    TempDir dir;
    writeFile(dir.file("doc.doc"), bytes);
    CompoundFile file(dir.file("doc.doc"));
    Exported result;
    result.code = exportWordDocument(file, dir.path(), flags);
    result.hasText = fileExists(dir.file("1.txt"));
    result.text = readFile(dir.file("1.txt"));
    return result;
}

int contentCode(const std::string& bytes, QString& text)
{
    TempDir dir;
    writeFile(dir.file("doc.doc"), bytes);
    CompoundFile file(dir.file("doc.doc"));
    return extractWordDocumentText(file, text);
}

WordDocumentPlan twoPieces()
{
    WordDocumentPlan plan;
    plan.pieces = {unicodePiece(u"First\r\u4E2D\u6587\u00E9\r"), bytePiece("second\x07piece")};
    return plan;
}

}  // namespace

TEST(WordBinaryReader, ExportSeparatesPiecesWhileMemoryDoesNot)
{
    const std::string bytes = buildWordFile(twoPieces());
    const Exported exported = exportBytes(bytes);
    EXPECT_EQ(exported.code, 0);
    EXPECT_EQ(exported.text, utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r\r\nsecond\u0007piece\r\n"));

    QString text = QStringLiteral("unchanged");
    EXPECT_EQ(contentCode(bytes, text), 0);
    EXPECT_EQ(text, QString::fromUtf16(u"First\n\u4E2D\u6587\nsecond piece"));

    // Through the library: re-encoded to UTF-8, every line ending in CR LF.
    TempDir dir;
    writeFile(dir.file("two.doc"), bytes);
    EXPECT_EQ(export2Txt(dir.file("two.doc").c_str(), dir.file("out").c_str(), 0, WriteText, 0), Success);
    EXPECT_EQ(readFile(dir.file("out/1.txt")), "First\r\xE4\xB8\xAD\xE6\x96\x87\xC3\xA9\r\r\r\nsecond\x07piece\r\r\n");
    QString viaLibrary;
    quilletGetFileContent(QString::fromStdString(dir.file("two.doc")), viaLibrary);
    EXPECT_EQ(viaLibrary, text);
}

TEST(WordBinaryReader, FlagsChooseWhatIsWritten)
{
    const std::string bytes = buildWordFile(twoPieces());
    const Exported picturesOnly = exportBytes(bytes, WritePictures);
    EXPECT_EQ(picturesOnly.code, 0);
    EXPECT_FALSE(picturesOnly.hasText);
    const Exported nothing = exportBytes(bytes, 0);
    EXPECT_EQ(nothing.code, 0);
    EXPECT_FALSE(nothing.hasText);
    EXPECT_EQ(exportBytes(bytes, WriteText | WritePictures | WriteExtras).text, exportBytes(bytes).text);
}

TEST(WordBinaryReader, TableStreamFollowsTheFlagsWord)
{
    WordDocumentPlan one = twoPieces();
    EXPECT_EQ(exportBytes(buildWordFile(one)).code, 0);
    WordDocumentPlan zero = twoPieces();
    zero.oneTable = false;
    EXPECT_EQ(exportBytes(buildWordFile(zero)).code, 0);

    // The flag names 1Table but only 0Table exists, and the other way round.
    for (bool flagOne : {true, false}) {
        WordDocumentPlan plan = twoPieces();
        plan.oneTable = flagOne;
        const WordStreams streams = buildWordStreams(plan);
        CompoundFileBuilder builder;
        builder.addStream("WordDocument", streams.wordDocument);
        builder.addStream(flagOne ? "0Table" : "1Table", streams.table);
        const Exported exported = exportBytes(builder.build());
        EXPECT_EQ(exported.code, int(WordStructureMissing));
        EXPECT_FALSE(exported.hasText);
    }
    CompoundFileBuilder noDocument;
    noDocument.addStream("1Table", "x");
    EXPECT_EQ(exportBytes(noDocument.build()).code, int(WordStructureMissing));
}

TEST(WordBinaryReader, PieceTableOffsetsAndWidths)
{
    WordDocumentPlan plan;
    plan.textOffset = 0x400;
    plan.pieces = {bytePiece("eight"), unicodePiece(u"sixteen")};
    plan.propertyBlocks = {std::string(5, '\x11'), std::string()};
    const WordStreams streams = buildWordStreams(plan);
    CompoundFileBuilder builder;
    builder.addStream("T", streams.table);
    TempDir dir;
    writeFile(dir.file("t.bin"), builder.build());
    CompoundFile file(dir.file("t.bin"));
    auto table = file.openStream("T");
    ASSERT_TRUE(table);
    std::vector<WordPiece> pieces;
    ASSERT_EQ(WordPiece::readTable(*table, streams.pieceTableOffset, pieces), 0);
    ASSERT_EQ(pieces.size(), 2u);
    // File position 0x800 | 0x40000000: 8-bit text at byte 0x400.
    EXPECT_EQ(pieces[0].byteOffset, 0x400u);
    EXPECT_FALSE(pieces[0].unicode);
    EXPECT_EQ(pieces[0].firstCharacter, 0);
    EXPECT_EQ(pieces[0].endCharacter, 5);
    EXPECT_EQ(pieces[1].byteOffset, 0x405u);
    EXPECT_TRUE(pieces[1].unicode);
    EXPECT_EQ(pieces[1].endCharacter, 12);
    EXPECT_EQ(exportBytes(buildWordFile(plan)).text, utf16leBytes(u"eight\r\nsixteen\r\n"));

    // Outside the stream, or not a piece list after the property blocks.
    EXPECT_EQ(WordPiece::readTable(*table, uint32_t(table->size()), pieces), int(WordStructureMissing));
    plan.pieceListMark = 3;
    EXPECT_EQ(exportBytes(buildWordFile(plan)).code, int(WordStructureMissing));

    // A document without pieces is valid and empty.
    WordDocumentPlan empty;
    const Exported none = exportBytes(buildWordFile(empty));
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.hasText);
    EXPECT_EQ(none.text, "");
}

TEST(WordBinaryReader, EightBitPiecesAreWindows1252)
{
    WordDocumentPlan plan;
    plan.pieces = {bytePiece("\x93quoted\x94 \x96 \x97 \x85 \x80 \x81\x8D\x8F\x90\x9D \xE9\xFF")};
    EXPECT_EQ(exportBytes(buildWordFile(plan)).text,
              utf16leBytes(u"\u201Cquoted\u201D \u2013 \u2014 \u2026 \u20AC \u0081\u008D\u008F\u0090\u009D \u00E9\u00FF\r\n"));
    EXPECT_EQ(windows1252Character(0x41), u'A');
    EXPECT_EQ(windows1252Character(0x9F), u'\u0178');
    EXPECT_EQ(windows1252Character(0xA0), u'\u00A0');
}

TEST(WordBinaryReader, FieldsAreRemovedWithTheirResultButNotWhatFollows)
{
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"ab\u0013PAGE\u00143\u0015cdef", u"abcdef"},
        {u"\u0013A\u0015x\u0013B\u0014b\u0015y", u"xy"},
        {u"a\u0015b\u0013c\u0015d", u"a\u0015b\u0013c\u0015d"},  // an end before the first begin
        {u"a\u0013open", u"a\u0013open"},                          // a field that ends in another piece
        {u"a\u0013x\u0013y\u0015b\u0015c", u"ab\u0015c"},          // nested: up to the first end
        {u"\u0013\u0015", u""},
        {u"plain", u"plain"},
    };
    for (const Case& c : cases) {
        std::u16string text = c.in;
        removeFieldCodes(text);
        EXPECT_EQ(text, c.out);
    }
    WordDocumentPlan plan;
    plan.pieces = {unicodePiece(u"ab\u0013PAGE\u00143\u0015cdef"), unicodePiece(u"x\u0013y"), unicodePiece(u"\u0015z")};
    EXPECT_EQ(exportBytes(buildWordFile(plan)).text, utf16leBytes(u"abcdef\r\nx\u0013y\r\n\u0015z\r\n"));
}

TEST(WordBinaryReader, EncryptedDocumentsAnswer4102AndWriteNothing)
{
    WordDocumentPlan marked = twoPieces();
    marked.encrypted = true;
    marked.pairCount = 0xFFFF;  // beyond the clear part nothing is meaningful
    const Exported exported = exportBytes(buildWordFile(marked));
    EXPECT_EQ(exported.code, int(Encrypted));
    EXPECT_FALSE(exported.hasText);
    QString text = QStringLiteral("kept");
    EXPECT_EQ(contentCode(buildWordFile(marked), text), int(Encrypted));
    EXPECT_EQ(text, QStringLiteral("kept"));

    const WordStreams streams = buildWordStreams(twoPieces());
    CompoundFileBuilder zeb;
    zeb.addStream("WordDocument", streams.wordDocument);
    zeb.addStream("1Table", streams.table);
    zeb.addStream("ZebEncryptionInfo", "key");
    EXPECT_EQ(exportBytes(zeb.build()).code, int(Encrypted));
}

TEST(WordBinaryReader, FileInformationBlockChecks)
{
    WordDocumentPlan plan = twoPieces();
    plan.shortCount = 13;
    EXPECT_EQ(exportBytes(buildWordFile(plan)).code, int(WordStructureMissing));
    plan = twoPieces();
    plan.longCount = 23;
    EXPECT_EQ(exportBytes(buildWordFile(plan)).code, int(WordStructureMissing));
    plan = twoPieces();
    plan.pairCount = 0xFFFF;
    EXPECT_EQ(exportBytes(buildWordFile(plan)).code, int(WordStructureMissing));

    // Too short for the block: the compound-file error, 4098 at the boundary.
    WordStreams streams = buildWordStreams(twoPieces());
    streams.wordDocument.resize(140);
    CompoundFileBuilder builder;
    builder.addStream("WordDocument", streams.wordDocument);
    builder.addStream("1Table", streams.table);
    TempDir dir;
    writeFile(dir.file("short.doc"), builder.build());
    EXPECT_EQ(export2Txt(dir.file("short.doc").c_str(), dir.file("out").c_str(), 0, WriteText, 0), ConversionFailed);
    EXPECT_FALSE(fileExists(dir.file("out/1.txt")));
}

TEST(WordBinaryReader, LyingPieceTablesStayWithinTheStreams)
{
    WordDocumentPlan plan;
    plan.pieces = {unicodePiece(u"abc"), unicodePiece(u"def")};
    WordStreams streams = buildWordStreams(plan);
    const uint32_t list = streams.pieceTableOffset + 1;
    auto fileWith = [](const WordStreams& s) {
        CompoundFileBuilder builder;
        builder.addStream("WordDocument", s.wordDocument);
        builder.addStream("1Table", s.table);
        return builder.build();
    };

    // An absurd piece list size is cut to the table stream.
    WordStreams huge = streams;
    putU32(huge.table, list, 0xFFFFFFF0u);
    huge.table += std::string(1000, '\xEE');
    const Exported cut = exportBytes(fileWith(huge));
    EXPECT_EQ(cut.code, 0);

    // Character counts beyond the stream, backwards, and a piece outside it.
    WordStreams lying = streams;
    const uint32_t positions = list + 4;
    putU32(lying.table, positions + 4, 0x7FFFFFFF);  // piece 1 ends far away
    putU32(lying.table, positions + 8, 2);            // piece 2 runs backwards
    const Exported cutText = exportBytes(fileWith(lying));
    EXPECT_EQ(cutText.code, 0);
    // Piece 1 runs to the end of the stream; piece 2 has no text.
    EXPECT_EQ(cutText.text, utf16leBytes(u"abcdef\r\n\r\n"));

    WordStreams outside = streams;
    putU32(outside.table, positions + 12 + 2, 0x3FFFFFFF);  // piece 1's text far beyond the stream
    EXPECT_EQ(exportBytes(fileWith(outside)).text, utf16leBytes(u"\r\ndef\r\n"));
}

TEST(WordBinaryReader, PiecesThatRepeatTheStreamAreBounded)
{
    // Thousands of pieces all naming the whole text: the output stays a small
    // multiple of the stream rather than growing with every piece.
    WordDocumentPlan plan;
    plan.pieces = {unicodePiece(std::u16string(1500, u'x'))};
    WordStreams streams = buildWordStreams(plan);
    std::string table(16, '\0');
    const uint32_t count = 4000;
    table.push_back(2);
    std::string list;
    for (uint32_t i = 0; i <= count; ++i)
        list += std::string("\0\0\0\0", 4), putU32(list, int64_t(list.size()) - 4, i * 1500);
    for (uint32_t i = 0; i < count; ++i) {
        list += std::string(8, '\0');
        putU32(list, int64_t(list.size()) - 6, 0x400);
    }
    std::string size(4, '\0');
    putU32(size, 0, uint32_t(list.size()));
    table += size + list;
    putU32(streams.wordDocument, 418, 16);
    CompoundFileBuilder builder;
    builder.addStream("WordDocument", streams.wordDocument);
    builder.addStream("1Table", table);
    const Exported exported = exportBytes(builder.build());
    EXPECT_EQ(exported.code, 0);
    EXPECT_LE(exported.text.size(), 4 * streams.wordDocument.size() + count * 4);
    EXPECT_GE(exported.text.size(), 3 * streams.wordDocument.size());
}
