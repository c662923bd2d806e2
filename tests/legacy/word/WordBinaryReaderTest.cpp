// The binary Word reader (Word 97-2003, Word 6.0 and 95) on documents built piece by piece.
#include "legacy/word/WordBinaryReader.h"
#include "compound/CompoundFileError.h"
#include "legacy/word/WordText.h"

#include "support/TempDir.h"
#include "support/Word6DocumentBuilder.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Outcome {
    int code = -1, contentCode = -1;
    std::string text;  // "1.txt" (UTF-16LE), "(none)" when not written
    QString content = QStringLiteral("unset");
};

Outcome run(const std::string& bytes)
{
    TempDir dir;
    Outcome result;
    result.code = exportWordDocument(*openBytes(bytes), dir.path(), WriteText);
    result.text = fileExists(dir.file("1.txt")) ? readFile(dir.file("1.txt")) : "(none)";
    result.contentCode = extractWordDocumentText(*openBytes(bytes), result.content);
    return result;
}

Word6Plan plan(std::vector<std::string> pieces, bool complex, uint16_t language = 0x0409)
{
    Word6Plan result;
    result.pieces = std::move(pieces);
    result.complex = complex;
    result.language = language;
    return result;
}

}  // namespace

TEST(WordBinaryReader, PiecesOfBothWidthsWithSeparatorsOnlyInTheExport)
{
    WordPlan plan;
    plan.pieces = {{utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r"), true},
                   {"\x93q\x94 \x96\x97\x85\x80 \x81\x8D\x8F\x90\x9D\xE9\x07x", false},
                   {utf16leBytes(u"ab\u0013PAGE\u00143\u0015cdef"), true}};
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.text, utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r\r\n\u201Cq\u201D \u2013\u2014\u2026\u20AC "
                                        u"\u0081\u008D\u008F\u0090\u009D\u00E9\u0007x\r\nabcdef\r\n"));
    EXPECT_EQ(result.contentCode, 0);
    EXPECT_EQ(result.content, QString::fromUtf16(u"First\n\u4E2D\u6587\n\u201Cq\u201D \u2013\u2014\u2026  xabcdef"));
}

TEST(WordBinaryReader, FieldsGoWithTheirResultButNotWhatFollows)
{
    std::pair<std::u16string, std::u16string> cases[] = {
        {u"ab\u0013PAGE\u00143\u0015cdef", u"abcdef"},
        {u"\u0013A\u0015x\u0013B\u0014b\u0015y", u"xy"},
        {u"a\u0015b\u0013c\u0015d", u"a\u0015b\u0013c\u0015d"},  // an end before the first begin
        {u"a\u0013x\u0013y\u0015b\u0015c", u"ab\u0015c"},        // nested: up to the first end
        {u"a\u0013b\u0014c", u"a\u0013b\u0014c"},                // a field that never ends stays
    };
    for (auto& [text, expected] : cases) {
        // Fed one unit at a time, as blocks of a long piece arrive, the result is the same.
        std::u16string parts;
        FieldCodeFilter filter;
        for (char16_t unit : text)
            filter.feed(&unit, 1, parts);
        filter.finish(parts);
        removeFieldCodes(text);
        EXPECT_EQ(text, expected);
        EXPECT_EQ(parts, expected);
    }
}

TEST(WordBinaryReader, TableStreamEncryptionAndBlockChecks)
{
    const std::tuple<uint16_t, uint16_t, const char*, const char*, int> cases[] = {
        {0x0200, 93, "1Table", "", Success},
        {0x0000, 93, "0Table", "", Success},
        {0x0200, 93, "0Table", "", WordStructureMissing},
        {0x0000, 93, "1Table", "", WordStructureMissing},
        {0x0200, 0xFFFF, "1Table", "", WordStructureMissing},  // more pairs than the block holds
        {0x0300, 0xFFFF, "1Table", "", Encrypted},             // the mark answers before the pairs count
        {0x0200, 93, "1Table", "ZebEncryptionInfo", Encrypted},
    };
    for (const auto& [flags, pairs, table, extra, code] : cases) {
        CompoundFileBuilder builder;
        addWordDocument(builder, {{{"text", false}}, flags, pairs, table});
        if (*extra != '\0')
            builder.add(extra, "key");
        const Outcome result = run(builder.build());
        EXPECT_EQ(result.code, code) << flags << table << extra;
        EXPECT_EQ(result.contentCode, code);
        EXPECT_EQ(result.text, code == Success ? utf16leBytes(u"text\r\n") : "(none)");
        EXPECT_EQ(result.content, code == Success ? QStringLiteral("text") : QStringLiteral("unset"));
    }
}

TEST(WordBinaryReader, PiecesNamingTheSameTextShareOneBudget)
{
    WordPlan plan;
    plan.pieces = {{utf16leBytes(std::u16string(1500, u'x')), true}};
    plan.repeat = 4000;
    // Four bytes of text for each byte of "WordDocument" (0x400 + 3000), then only separators.
    std::u16string expected;
    for (size_t i = 0, left = 2 * (0x400 + 3000); i < 4000; ++i) {
        const size_t take = std::min<size_t>(left, 1500);
        expected += std::u16string(take, u'x') + u"\r\n";
        left -= take;
    }
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.text, utf16leBytes(expected));
}

TEST(WordBinaryReader, DamagedBlocksTablesAndPiecesThroughTheLibrary)
{
    const auto twoPieces = [](int outside, uint32_t clxOffset) {
        WordPlan plan;
        plan.pieces = {{"one", false}, {"two", false}};
        plan.outsidePiece = outside;
        plan.clxOffset = clxOffset;
        return buildWordFile(plan);
    };
    // A block whose counts pass, but which stops before the piece table's place in it.
    std::string block(300, '\0');
    block.replace(10, 2, le16(0x0200));
    block.replace(32, 2, le16(14));
    block.replace(62, 2, le16(22));
    block.replace(152, 2, le16(10));
    CompoundFileBuilder shortBlock;
    shortBlock.add("WordDocument", block);
    shortBlock.add("1Table", std::string(64, '\0'));
    const std::tuple<const char*, std::string, uint32_t, uint32_t, std::string> cases[] = {
        {"outside piece", twoPieces(0, 16), WriteText, Success, "\r\r\ntwo\r\r\n"},
        {"table offset outside", twoPieces(-1, 0x7000), WriteText, WordStructureMissing, "(none)"},
        {"short block", shortBlock.build(), WriteText, ConversionFailed, "(none)"},
        {"pictures only", twoPieces(-1, 16), WritePictures, Success, "(none)"},
    };
    for (const auto& [name, bytes, flags, code, text] : cases) {
        TempDir dir;
        writeFile(dir.file("in.doc"), bytes);
        EXPECT_EQ(export2Txt(dir.file("in.doc").c_str(), dir.file("out").c_str(), 0, flags, 0), code) << name;
        const std::string written = dir.file("out/1.txt");
        EXPECT_EQ(fileExists(written) ? readFile(written) : "(none)", text) << name;
    }
}

TEST(WordBinaryReader, LongPiecesStreamInBlocksWithFieldsAcrossTheirEdges)
{
    // Blocks hold 32,768 units: the field of the first piece and the quote of
    // the second straddle the first block's end.
    const std::u16string wide =
        std::u16string(32760, u'a') + u"\u0013CODE\u0014result\u0015" + std::u16string(10, u'b');
    const std::string narrow = std::string(32767, 'c') + "\x93\x94" + std::string(7000, 'd');
    WordPlan plan;
    plan.pieces = {{utf16leBytes(wide), true}, {narrow, false}};
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.text,
              utf16leBytes(std::u16string(32760, u'a') + std::u16string(10, u'b') + u"\r\n" +
                           std::u16string(32767, u'c') + u"\u201C\u201D" + std::u16string(7000, u'd') + u"\r\n"));
    EXPECT_EQ(result.content.size(), 32760 + 10 + 32767 + 2 + 7000);
}

TEST(Word6BinaryReader, PiecesOrTheOneRunDecodedThroughTheDocumentsCodePage)
{
    Word6Plan word6 = plan({"caf\xE9 \x93q\x94\r"}, false);
    word6.version = 101;
    Word6Plan macintosh = plan({"caf\x8E\r"}, false);
    macintosh.characterSet = 256;
    const std::tuple<const char*, Word6Plan, std::u16string, QString> cases[] = {
        {"Word 6.0, one run", word6, u"caf\u00E9 \u201Cq\u201D\r\r\n", QString::fromUtf16(u"caf \u201Cq\u201D\n")},
        {"two pieces, back to front in the stream", plan({"First\r", "caf\xE9\x07"}, true),
         u"First\r\r\ncaf\u00E9\u0007\r\n", QStringLiteral("First\ncaf ")},
        {"a field and the text behind it",
         plan({"ab\x13PAGE\x14"
               "3\x15"
               "cd"},
              true),
         u"abcd\r\n", QStringLiteral("abcd")},
        {"Russian", plan({"ok \xCF\xF0\xE8\xE2\xE5\xF2"}, false, 0x0419),
         u"ok \u041F\u0440\u0438\u0432\u0435\u0442\r\n", QStringLiteral("ok ")},
        {"Japanese", plan({"\x93\xFA\x96\x7B"}, false, 0x0411), u"\u65E5\u672C\r\n",
         QString::fromUtf16(u"\u65E5\u672C")},
        {"Macintosh character set", macintosh, u"caf\u00E9\r\r\n", QStringLiteral("caf\n")},
    };
    for (const auto& [name, document, text, content] : cases) {
        const Outcome result = run(buildWord6File(document));
        EXPECT_EQ(result.code, Success) << name;
        EXPECT_EQ(result.text, utf16leBytes(text)) << name;
        EXPECT_EQ(result.contentCode, Success) << name;
        EXPECT_EQ(result.content, content) << name;
    }
}

TEST(Word6BinaryReader, DamagedOrMislabelledBlocksGiveDefinedAnswers)
{
    Word6Plan encrypted = plan({"secret"}, false);
    encrypted.flags = 0x0100;
    Word6Plan outside = plan({"lost"}, false);
    outside.textStart = 0x100000;
    Word6Plan overclaimed = plan({"one ", "two"}, true);
    overclaimed.claimedPieces = 1000;
    Word6Plan tableOutside = plan({"x"}, true);
    tableOutside.pieceTableOffset = 0x100000;
    Word6Plan noPieceList = plan({"x"}, true);
    noPieceList.pieceTableOffset = 0;  // the block's first byte is no list mark
    Word6Plan newVersion = plan({"x"}, false);
    newVersion.version = 0x00C1;
    CompoundFileBuilder zeroFilled;  // the stand-in stream of some encrypted packages
    zeroFilled.add("WordDocument", std::string(4096, '\0'));
    // An old version number on a Word 97 block: the Word 97 reader's answer stands.
    std::string word97Counts = buildWord6Stream(plan({"x"}, false));
    word97Counts.replace(32, 2, le16(14));
    word97Counts.replace(62, 2, le16(22));
    CompoundFileBuilder mislabelled;
    mislabelled.add("WordDocument", word97Counts);
    WordPlan word97;
    word97.pieces = {{"text", false}};
    word97.table = "0Table";

    const std::tuple<const char*, std::string, int, std::u16string> cases[] = {
        {"encrypted", buildWord6File(encrypted), Encrypted, u""},
        {"text start beyond the stream", buildWord6File(outside), Success, u"\r\n"},
        {"more pieces claimed than held", buildWord6File(overclaimed), Success, u"one \r\ntwo\r\n"},
        {"piece table beyond the stream", buildWord6File(tableOutside), WordStructureMissing, u""},
        {"no piece list", buildWord6File(noPieceList), WordStructureMissing, u""},
        {"Word 97 version number", buildWord6File(newVersion), WordStructureMissing, u""},
        {"zero-filled block", zeroFilled.build(), WordStructureMissing, u""},
        {"Word 97 counts", mislabelled.build(), WordStructureMissing, u""},
        {"Word 97 block without its table stream", buildWordFile(word97), WordStructureMissing, u""},
    };
    for (const auto& [name, bytes, code, text] : cases) {
        const Outcome result = run(bytes);
        EXPECT_EQ(result.code, code) << name;
        EXPECT_EQ(result.contentCode, code) << name;
        EXPECT_EQ(result.text, code == Success ? utf16leBytes(text) : "(none)") << name;
    }

    CompoundFileBuilder shortBlock;
    std::string stream(0x100, '\0');
    stream.replace(2, 2, le16(104));
    shortBlock.add("WordDocument", stream);
    TempDir dir;
    EXPECT_THROW(exportWordDocument(*openBytes(shortBlock.build()), dir.path(), WriteText), CompoundFileError);
}
