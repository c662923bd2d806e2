// Word 6.0 and Word 95 documents built to the older layout, read through the
// Word reader's entries.
#include "compound/CompoundFileError.h"
#include "legacy/WordBinaryReader.h"

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
        {"a field and the text behind it", plan({"ab\x13PAGE\x14" "3\x15" "cd"}, true), u"abcd\r\n",
         QStringLiteral("abcd")},
        {"Russian", plan({"ok \xCF\xF0\xE8\xE2\xE5\xF2"}, false, 0x0419), u"ok \u041F\u0440\u0438\u0432\u0435\u0442\r\n",
         QStringLiteral("ok ")},
        {"Serbian in Cyrillic", plan({"\xC6"}, true, 0x0C1A), u"\u0416\r\n", QString()},
        {"Croatian", plan({"\x8A"}, true, 0x041A), u"\u0160\r\n", QString()},
        {"Japanese", plan({"\x93\xFA\x96\x7B"}, false, 0x0411), u"\u65E5\u672C\r\n", QString::fromUtf16(u"\u65E5\u672C")},
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

TEST(Word6BinaryReader, ExportWritesUtf8AndTheInMemoryCallFindsTheText)
{
    TempDir dir;
    writeFile(dir.file("old.doc"), buildWord6File(plan({"Hello \xCF\xF0\xE8\xE2\xE5\xF2\r"}, true, 0x0419)));
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(dir.file("old.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(Success));
    EXPECT_EQ(readFile(out + "/1.txt"), "Hello \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\r\r\n");
    QString content;
    quilletGetFileContent(QString::fromStdString(dir.file("old.doc")), content);
    EXPECT_EQ(content, QStringLiteral("Hello \n"));
}
