// The binary Word reader (Word 97-2003, Word 6.0 and 95) on documents built piece by piece.
#include "legacy/word/WordBinaryReader.h"
#include "compound/CompoundFileError.h"

#include "support/StructuredRead.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

// The export, then the in-memory text of the same file.
struct Outcome : Exported {
    int contentCode = -1;
    QString content = QStringLiteral("unset");
};

Outcome run(const std::string& bytes)
{
    Outcome result{exportFile(exportWordDocument, bytes, WriteText)};
    try {
        result.contentCode = extractWordDocumentText(*openBytes(bytes), result.content);
    } catch (const CompoundFileError&) {
        result.contentCode = ConversionFailed;
    }
    return result;
}

}  // namespace

// Pieces start and end anywhere, even inside a word or a field: they are
// joined as they are, and a field shows its result, nested fields included.
TEST(WordBinaryReader, PiecesJoinedAsTheyAreWithFieldResultsAcrossThem)
{
    WordPlan plan;
    plan.pieces = {
        {utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r"), true},
        {"\x93q\x94 \x96\x97\x85\x80 \x81\x8D\x8F\x90\x9D\xE9\x07g", false},
        {utf16leBytes(u"ood \u0013 HYPERLINK \"x\" \u0014Visit\u0015 \u0013IF \u0013PAGE\u00142\u0015 = 2 "
                      u"\u0014yes\u0015 \u0013A\u0014r1\u0013B\u0014r2\u0015r3\u0015 see \u0013REF x \u0014"),
         true},
        {utf16leBytes(u"target\u0015. a\u0015b\u0014c end\u0013 dangling"), true}};
    const std::u16string joined = u"ood Visit yes r1r2r3 see target. abc end dangling";
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.text, utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r\u201Cq\u201D \u2013\u2014\u2026\u20AC "
                                        u"\u0081\u008D\u008F\u0090\u009D\u00E9\u0007g" +
                                        joined + u"\n"));
    EXPECT_EQ(result.contentCode, 0);
    EXPECT_EQ(result.content, QString::fromUtf16(u"First\n\u4E2D\u6587\n\u201Cq\u201D \u2013\u2014\u2026  g") +
                                  QString::fromStdU16String(joined));
}

TEST(WordBinaryReader, BlocksAndTheirStreamsDecideTheAnswer)
{
    const auto word97 = [](uint16_t flags, uint16_t pairs, const char* table, const char* other = "Other") {
        CompoundFileBuilder builder;
        addWordDocument(builder, {{{"text", false}}, flags, pairs, table});
        builder.add(other, "key");
        return builder.build();
    };
    // An old version number on a Word 97 block: the Word 97 reader's answer stands.
    std::string word97Counts = buildWord6Stream({{"x"}});
    word97Counts.replace(32, 2, le16(14));
    word97Counts.replace(62, 2, le16(22));
    std::string shortWord6(0x100, '\0');  // ends inside the block
    shortWord6.replace(2, 2, le16(104));
    const auto only = [](const std::string& wordDocument) {
        CompoundFileBuilder builder;
        builder.add("WordDocument", wordDocument);
        return builder.build();
    };
    const std::tuple<const char*, std::string, int, std::u16string> cases[] = {
        {"0Table", word97(0x0000, 93, "0Table"), Success, u"text\n"},
        {"more pairs than the block holds", word97(0x0200, 0xFFFF, "1Table"), WordStructureMissing, u""},
        {"the mark answers before the pairs", word97(0x0300, 0xFFFF, "1Table"), Encrypted, u""},
        {"ZebEncryptionInfo", word97(0x0200, 93, "1Table", "ZebEncryptionInfo"), Encrypted, u""},
        {"Word 6 encrypted", buildWord6File({{"secret"}, 0x0409, 0, false, 0x0100}), Encrypted, u""},
        {"Word 6 text beyond the stream", buildWord6File({{"lost"}, 0x0409, 0, false, 0, 0x100000}), Success, u"\n"},
        {"Word 97 counts", only(word97Counts), WordStructureMissing, u""},
        {"short Word 6 block", only(shortWord6), ConversionFailed, u""},
    };
    for (const auto& [name, bytes, code, text] : cases) {
        const Outcome result = run(bytes);
        EXPECT_EQ(result.code, code) << name;
        EXPECT_EQ(result.contentCode, code) << name;
        EXPECT_EQ(result.text, code == Success ? utf16leBytes(text) : "(none)") << name;
    }
}

TEST(WordBinaryReader, PiecesNamingTheSameTextShareOneBudget)
{
    WordPlan plan;
    plan.pieces = {{utf16leBytes(std::u16string(3000, u'x')), true}};
    plan.repeat = 100;
    // Four bytes of text for each byte of "WordDocument" (0x400 + 6000): four
    // pieces and 2,048 units of the fifth.
    EXPECT_EQ(run(buildWordFile(plan)).text, utf16leBytes(std::u16string(4 * 3000 + 2048, u'x') + u"\n"));
}

TEST(WordBinaryReader, LongPiecesStreamInBlocksWithFieldsAcrossTheirEdges)
{
    // Blocks hold 32,768 units: the field of the first piece and the quote of
    // the second straddle the first block's end; the field's result stays.
    const std::u16string wide =
        std::u16string(32760, u'a') + u"\u0013CODE\u0014result\u0015" + std::u16string(10, u'b');
    const std::string narrow = std::string(32767, 'c') + "\x93\x94" + std::string(7000, 'd');
    WordPlan plan;
    plan.pieces = {{utf16leBytes(wide), true}, {narrow, false}};
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.text,
              utf16leBytes(std::u16string(32760, u'a') + u"result" + std::u16string(10, u'b') +
                           std::u16string(32767, u'c') + u"\u201C\u201D" + std::u16string(7000, u'd') + u"\n"));
    EXPECT_EQ(result.content.size(), 32760 + 6 + 10 + 32767 + 2 + 7000);
}

TEST(Word6BinaryReader, PiecesOrTheOneRunDecodedThroughTheDocumentsCodePage)
{
    const std::tuple<const char*, Word6Plan, std::u16string, QString> cases[] = {
        {"pieces back to front in the stream, one with a field",
         {{"First\r", "caf\xE9\x07", "ab\x13PAGE\x14x\x15yz"}, 0x0409, 0, true},
         u"First\rcaf\u00E9\u0007abxyz\n",
         QStringLiteral("First\ncaf abxyz")},
        {"Russian",
         {{"ok \xCF\xF0\xE8\xE2\xE5\xF2"}, 0x0419},
         u"ok \u041F\u0440\u0438\u0432\u0435\u0442\n",
         QStringLiteral("ok ")},
        {"Macintosh character set", {{"caf\x8E\r"}, 0x0409, 256}, u"caf\u00E9\r\n", QStringLiteral("caf\n")},
        // Extended characters: 16-bit text, whatever the code page says.
        {"16-bit pieces",
         {{utf16leBytes(u"By Post\r"), utf16leBytes(u"\u0013 PAGE \u00141\u0015 \u041F\u20AC")},
          0x0419,
          0,
          true,
          0x1000},
         u"By Post\r1 \u041F\u20AC\n",
         QStringLiteral("By Post\n1 ")},
        {"16-bit run",
         {{utf16leBytes(u"By Post\u00E9")}, 0x0409, 0, false, 0x1000},
         u"By Post\u00E9\n",
         QStringLiteral("By Post")},
    };
    for (const auto& [name, plan, text, content] : cases) {
        const Outcome result = run(buildWord6File(plan));
        EXPECT_EQ(result.code, Success) << name;
        EXPECT_EQ(result.text, utf16leBytes(text)) << name;
        EXPECT_EQ(result.contentCode, Success) << name;
        EXPECT_EQ(result.content, content) << name;
    }
}

// Through the library, as a Word 95 file with 16-bit text arrives: its
// "1.txt" is UTF-8 without a NUL.
TEST(Word6BinaryReader, SixteenBitDocumentExportsWithoutNulCharacters)
{
    TempDir dir;
    const std::string path = dir.file("word95.doc");
    writeFile(path, buildWord6File({{utf16leBytes(u"Letter\r"), utf16leBytes(u"By Post\r")}, 0x0409, 0, true, 0x1000}));
    EXPECT_EQ(export2Txt(path.c_str(), dir.file("out").c_str(), 0, WriteText, 0), uint32_t(Success));
    EXPECT_EQ(readFile(dir.file("out/1.txt")), "Letter\rBy Post\r\r\n");
    EXPECT_STREQ(getFileFormate(path.c_str(), 0), "DOC");
}

// The stories after the main text are parts of their own, wherever the
// pieces cut them; a story without characters is no part.
TEST(WordBinaryReader, StoriesArePartsWhereverPiecesCutThem)
{
    WordPlan plan;
    plan.pieces = {
        {utf16leBytes(u"Body one\rBody"), true}, {" two\rNote\rHead", false}, {utf16leBytes(u"er\rSaid\r"), true}};
    // Body 18 characters, footnotes 5, headers 7, no macros, comments 5.
    plan.storyCounts = {18, 5, 7, 0, 5};
    const std::string file = buildWordFile(plan);
    const readable::Document document = readStructured(file);
    EXPECT_EQ(document.code, 0u);
    EXPECT_EQ(document.format, "DOC");
    EXPECT_EQ(partList(document), (std::vector<std::string>{"body 1 : Body one\nBody two\n", "footnotes 1 : Note\n",
                                                            "headers 1 : Header\n", "comments 1 : Said\n"}));
    // Without the record, the same text.
    EXPECT_EQ(exportFile(exportWordDocument, file, WriteText).text,
              utf16leBytes(u"Body one\rBody two\rNote\rHeader\rSaid\r\n"));

    // A story may start inside a line; counts past what a position can name
    // mark nothing.
    plan.storyCounts = {4, 0xFFFFFFF0u, 3};
    EXPECT_EQ(partList(readStructured(buildWordFile(plan))),
              (std::vector<std::string>{"body 1 : Body", "footnotes 1 :  one\nBody two\nNote\nHeader\nSaid\n"}));
}
