// The binary Word reader (Word 97-2003, Word 6.0 and 95) on documents built piece by piece.
#include "legacy/word/WordBinaryReader.h"
#include "compound/CompoundFileError.h"

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

// Each piece has fields of its own: a field goes with its result, but an end
// before the first begin, or a begin never ended, stops the removal there.
TEST(WordBinaryReader, PiecesOfBothWidthsWithFieldsAndSeparatorsOnlyInTheExport)
{
    WordPlan plan;
    plan.pieces = {{utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r"), true},
                   {"\x93q\x94 \x96\x97\x85\x80 \x81\x8D\x8F\x90\x9D\xE9\x07x", false},
                   {utf16leBytes(u"\u0013A\u0015x\u0013B\u0014b\u0015y"), true},
                   {utf16leBytes(u"a\u0015b\u0013c\u0015d"), true},
                   {utf16leBytes(u"a\u0013x\u0013y\u0015b\u0015c"), true},
                   {utf16leBytes(u"a\u0013b\u0014c"), true}};
    const Outcome result = run(buildWordFile(plan));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.text, utf16leBytes(u"First\r\u4E2D\u6587\u00E9\r\r\n\u201Cq\u201D \u2013\u2014\u2026\u20AC "
                                        u"\u0081\u008D\u008F\u0090\u009D\u00E9\u0007x\r\nxy\r\na\u0015b\u0013c\u0015d"
                                        u"\r\nab\u0015c\r\na\u0013b\u0014c\r\n"));
    EXPECT_EQ(result.contentCode, 0);
    EXPECT_EQ(result.content,
              QString::fromUtf16(u"First\n\u4E2D\u6587\n\u201Cq\u201D \u2013\u2014\u2026  xxyabdabcac"));
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
        {"0Table", word97(0x0000, 93, "0Table"), Success, u"text\r\n"},
        {"more pairs than the block holds", word97(0x0200, 0xFFFF, "1Table"), WordStructureMissing, u""},
        {"the mark answers before the pairs", word97(0x0300, 0xFFFF, "1Table"), Encrypted, u""},
        {"ZebEncryptionInfo", word97(0x0200, 93, "1Table", "ZebEncryptionInfo"), Encrypted, u""},
        {"Word 6 encrypted", buildWord6File({{"secret"}, 0x0409, 0, false, 0x0100}), Encrypted, u""},
        {"Word 6 text beyond the stream", buildWord6File({{"lost"}, 0x0409, 0, false, 0, 0x100000}), Success, u"\r\n"},
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
    // pieces and 2,048 units of the fifth, then only separators.
    std::u16string expected;
    for (int i = 0; i < 100; ++i)
        expected += std::u16string(i < 4 ? 3000 : i == 4 ? 2048 : 0, u'x') + u"\r\n";
    EXPECT_EQ(run(buildWordFile(plan)).text, utf16leBytes(expected));
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
    EXPECT_EQ(result.text,
              utf16leBytes(std::u16string(32760, u'a') + std::u16string(10, u'b') + u"\r\n" +
                           std::u16string(32767, u'c') + u"\u201C\u201D" + std::u16string(7000, u'd') + u"\r\n"));
    EXPECT_EQ(result.content.size(), 32760 + 10 + 32767 + 2 + 7000);
}

TEST(Word6BinaryReader, PiecesOrTheOneRunDecodedThroughTheDocumentsCodePage)
{
    const std::tuple<const char*, Word6Plan, std::u16string, QString> cases[] = {
        {"pieces back to front in the stream, one with a field",
         {{"First\r", "caf\xE9\x07", "ab\x13PAGE\x14x\x15yz"}, 0x0409, 0, true},
         u"First\r\r\ncaf\u00E9\u0007\r\nabyz\r\n",
         QStringLiteral("First\ncaf abyz")},
        {"Russian",
         {{"ok \xCF\xF0\xE8\xE2\xE5\xF2"}, 0x0419},
         u"ok \u041F\u0440\u0438\u0432\u0435\u0442\r\n",
         QStringLiteral("ok ")},
        {"Macintosh character set", {{"caf\x8E\r"}, 0x0409, 256}, u"caf\u00E9\r\r\n", QStringLiteral("caf\n")},
    };
    for (const auto& [name, plan, text, content] : cases) {
        const Outcome result = run(buildWord6File(plan));
        EXPECT_EQ(result.code, Success) << name;
        EXPECT_EQ(result.text, utf16leBytes(text)) << name;
        EXPECT_EQ(result.contentCode, Success) << name;
        EXPECT_EQ(result.content, content) << name;
    }
}
