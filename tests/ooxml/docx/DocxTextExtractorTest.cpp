// The word-processing package reader on packages built in code.
#include "ooxml/OoxmlPackageFile.h"
#include "ooxml/docx/ListNumbering.h"

#include "support/StructuredRead.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <climits>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kExtras = WriteText | WriteExtras;

std::string wordPart(const std::string& root, const std::string& inside)
{
    return "<w:" + root + " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" + inside +
           "</w:" + root + ">";
}

// A header, footer or comments part, reached from the main part through id.
struct Story {
    std::string id, type, inside;
};

Parts docx(const std::string& body, const std::vector<Story>& stories = {})
{
    Parts parts{{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "word/document.xml"))},
                {"word/document.xml", wordPart("document", "<w:body>" + body + "</w:body>")}};
    std::string rels;
    for (const auto& [id, type, inside] : stories) {
        rels += relationship(id, type, id + ".xml");
        parts["word/" + id + ".xml"] = wordPart(type == "header" ? "hdr" : type == "footer" ? "ftr" : type, inside);
    }
    if (!rels.empty())
        parts["word/_rels/document.xml.rels"] = relationships(rels);
    return parts;
}

struct Outcome {
    uint32_t code = 0;
    std::string text;  // "1.txt", "(none)" when not written
    QString content = QStringLiteral("unset");
    std::vector<std::string> files;
};

// The export and the in-memory text; part, when given, declares declaredSize bytes.
Outcome run(const Parts& parts, uint32_t flags = WriteText, const std::string& part = "", uint32_t declaredSize = 0)
{
    std::string zip = ZipBuilder(parts).bytes();
    if (!part.empty())
        patchEntry(zip, part, 22, declaredSize);
    TempDir dir;
    writeFile(dir.file("a.docx"), zip);
    TempDir out;
    Outcome result;
    result.code = OoxmlPackageFile(dir.file("a.docx")).exportPackage(out.path(), flags);
    result.text = fileExists(out.file("1.txt")) ? readFile(out.file("1.txt")) : "(none)";
    result.files = listFolder(out.path());
    OoxmlPackageFile(dir.file("a.docx")).packageContent(result.content);
    return result;
}

std::string para(const std::string& text)
{
    return "<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>";
}

const std::string kTextBox = "<w:txbxContent><w:p><w:r><w:t>Box</w:t></w:r></w:p></w:txbxContent>";

}  // namespace

TEST(DocxTextExtractor, BodyMarkupGivesTheShownText)
{
    const std::pair<std::string, std::string> cases[] = {
        // Tabs, breaks and non-breaking hyphens show; symbols and soft hyphens do not.
        {"<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br w:type=\"page\"/><w:t>c</w:t><w:cr/><w:t>d</w:t>"
         "<w:noBreakHyphen/><w:t>e</w:t><w:sym w:char=\"F04A\"/><w:softHyphen/></w:r></w:p>",
         "\na\tb\nc\nd-e"},
        // Tab stops of the paragraph are not tabs.
        {"<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr><w:r><w:t>t</w:t></w:r></w:p>",
         "\nt"},
        {"<w:p><w:ins w:id=\"1\"><w:r><w:t>new</w:t></w:r></w:ins><w:del w:id=\"2\"><w:r><w:delText>old</w:delText>"
         "</w:r></w:del></w:p>",
         "\nnew"},
        // Moved text appears once, at its new place.
        {"<w:p><w:moveFrom><w:r><w:t>moved</w:t></w:r></w:moveFrom></w:p><w:p><w:moveTo><w:r><w:t>moved</w:t>"
         "</w:r></w:moveTo></w:p>",
         "\n\nmoved"},
        {"<w:customXml w:element=\"x\">" + para("blk") +
             "</w:customXml><w:p><w:customXml><w:r><w:t>a</w:t></w:r>"
             "</w:customXml><w:bdo w:val=\"rtl\"><w:r><w:t>b</w:t></w:r></w:bdo><w:dir w:val=\"rtl\"><w:r><w:t>c</w:t>"
             "</w:r></w:dir><w:fldSimple w:instr=\" PAGE \"><w:r><w:t>7</w:t></w:r></w:fldSimple></w:p>",
         "\nblk\nabc7"},
        // A complex field gives its result, not its instruction.
        {"<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PAGE </w:instrText></w:r><w:r>"
         "<w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>3</w:t></w:r><w:r><w:fldChar "
         "w:fldCharType=\"end\"/></w:r></w:p>",
         "\n3"},
        {"<w:sdt><w:sdtPr/><w:sdtContent>" + para("s") +
             "</w:sdtContent></w:sdt><w:p><w:hyperlink r:id=\"x\"><w:r>"
             "<w:t>h</w:t></w:r></w:hyperlink><w:smartTag><w:smartTag><w:r><w:t>t</w:t></w:r></w:smartTag></w:smartTag>"
             "<w:sdt><w:sdtContent><w:r><w:t>i</w:t></w:r></w:sdtContent></w:sdt></w:p>",
         "\ns\nhti"},
        // Rows and cells inside content controls and custom markup.
        {"<w:tbl><w:sdt><w:sdtContent><w:tr><w:tc>" + para("r1") + "</w:tc><w:sdt><w:sdtPr/><w:sdtContent><w:tc>" +
             para("c2") +
             "</w:tc></w:sdtContent></w:sdt></w:tr></w:sdtContent></w:sdt><w:customXml><w:tr>"
             "<w:customXml><w:tc>" +
             para("c3") + "</w:tc></w:customXml></w:tr></w:customXml></w:tbl>",
         "\nr1\nc2\nc3"},
        // Word-art, and an oval read directly under the picture but not inside a group.
        {"<w:p><w:r><w:pict><v:shape><v:textpath style=\"x\" string=\"Title\"/></v:shape><v:group><v:oval><v:textbox>" +
             kTextBox + "</v:textbox></v:oval><v:roundrect><v:textbox>" + kTextBox +
             "</v:textbox></v:roundrect></v:group><v:oval><v:textbox>" + kTextBox +
             "</v:textbox></v:oval></w:pict></w:r><w:r><w:t>x</w:t></w:r></w:p>",
         "\nTitle\nBox\nBoxx"},
        {"<w:p w:rsidR=\"00AB\"><w:r w:rsidR=\"00AB\"><w:pict><v:shape id=\"s\"><v:textpath string=\"Open\">"
         "</v:textpath></v:shape></w:pict></w:r></w:p>",
         "\nOpen"},
    };
    for (const auto& [body, expected] : cases) {
        const Outcome outcome = run(docx(body));
        EXPECT_EQ(outcome.code, Success) << body;
        EXPECT_EQ(outcome.text, expected) << body;
    }
}

std::string item(int list, int level, const std::string& text)
{
    return "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"" + std::to_string(level) + "\"/><w:numId w:val=\"" +
           std::to_string(list) + "\"/></w:numPr></w:pPr><w:r><w:t>" + text + "</w:t></w:r></w:p>";
}

std::string level(int index, const std::string& format, const std::string& text, const std::string& more = "")
{
    return "<w:lvl w:ilvl=\"" + std::to_string(index) + "\"><w:start w:val=\"1\"/><w:numFmt w:val=\"" + format +
           "\"/><w:lvlText w:val=\"" + text + "\"/>" + more + "</w:lvl>";
}

TEST(DocxTextExtractor, ListLabelsCountPerListAndLevel)
{
    // Definition 0: "1.", "a)", "1.a.i", the third restarting after the first
    // level only; definition 1: bullets; definition 2: legal numbering.
    const std::string numbering =
        "<w:abstractNum w:abstractNumId=\"0\">" + level(0, "decimal", "%1.") + level(1, "lowerLetter", "%2)") +
        level(2, "lowerRoman", "%1.%2.%3", "<w:lvlRestart w:val=\"1\"/>") +
        "</w:abstractNum><w:abstractNum w:abstractNumId=\"1\">" + level(0, "bullet", "\xEF\x82\xB7") +
        level(1, "bullet", "o") + "</w:abstractNum><w:abstractNum w:abstractNumId=\"2\">" +
        level(0, "upperRoman", "%1.") + level(1, "upperLetter", "%1.%2", "<w:isLgl/>") +
        "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride "
        "w:val=\"4\"/></w:lvlOverride></w:num><w:num w:numId=\"4\"><w:abstractNumId w:val=\"1\"/></w:num>"
        "<w:num w:numId=\"5\"><w:abstractNumId w:val=\"2\"/></w:num><w:num w:numId=\"6\"><w:abstractNumId "
        "w:val=\"9\"/></w:num><w:num w:numId=\"7\"><w:abstractNumId w:val=\"2\"/><w:lvlOverride w:ilvl=\"1\">" +
        level(1, "none", "[%2]") + "</w:lvlOverride></w:num>";
    const std::string body = item(1, 0, "one") + item(1, 1, "sub") + item(1, 2, "deep") + item(1, 1, "sub2") +
                             item(1, 2, "deep2") + item(2, 0, "two, same list") + item(1, 2, "deep3") +
                             item(3, 0, "restarted") + item(3, 0, "next") + item(4, 0, "dot") + item(4, 1, "o") +
                             item(5, 0, "I") + item(5, 1, "legal") + item(7, 1, "none") +
                             item(6, 0, "unknown definition") + item(0, 0, "no list") + item(9, 0, "unknown list") +
                             item(1, 12, "bad level");
    const Parts parts = docx(body, {{"n", "numbering", numbering}});
    const std::string expected =
        "\n1.\tone\na)\tsub\n1.a.i\tdeep\nb)\tsub2\n1.b.ii\tdeep2\n2.\ttwo, same list"
        "\n2.a.i\tdeep3\n4.\trestarted\n5.\tnext\n\xE2\x80\xA2\tdot\no\to\nI.\tI\n1.1\tlegal\n[]\tnone"
        "\nunknown definition\nno list\nunknown list\nbad level";
    const Outcome outcome = run(parts);
    EXPECT_EQ(outcome.text, expected);
    // The in-memory text has the labels too (it keeps no tabs).
    EXPECT_TRUE(outcome.content.startsWith(QStringLiteral("\n1.one\na)sub\n1.a.ideep")))
        << outcome.content.toStdString();
    // The numbering part is read while a long body streams on.
    const Outcome longBody = run(docx(item(1, 0, "first") + "<!--" + std::string(200000, ' ') + "-->" + para("last"),
                                      {{"n", "numbering", numbering}}));
    EXPECT_EQ(longBody.text, "\n1.\tfirst\nlast");
    // Without a numbering part list paragraphs are plain.
    EXPECT_EQ(run(docx(item(1, 0, "x"))).text, "\nx");

    const std::tuple<int, const char*, const char*> numbers[] = {
        {27, "upperLetter", "AA"},    {780, "lowerLetter", "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"},
        {781, "lowerLetter", "781"},  {1994, "upperRoman", "MCMXCIV"},
        {4000, "lowerRoman", "4000"}, {0, "lowerRoman", "0"},
        {7, "decimalZero", "07"},     {12, "decimalZero", "12"},
        {3, "ordinalText", "3"},      {-2, "upperLetter", "-2"}};
    for (const auto& [value, format, text] : numbers)
        EXPECT_EQ(formatListNumber(value, format), text) << value << " " << format;
    EXPECT_EQ(listNumberValue(" -3", 0), -3);
    EXPECT_EQ(listNumberValue("x", -1), -1);
    EXPECT_EQ(listNumberValue("99999999999", 0), INT_MAX);
}

TEST(DocxTextExtractor, StoriesFollowTheBodyInReferenceOrderWithExtrasOnly)
{
    const Parts parts =
        docx(para("Body") +
                 "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"h1\"/><w:footerReference "
                 "r:id=\"f1\"/><w:footerReference r:id=\"f2\"/></w:sectPr></w:pPr></w:p><w:sectPr><w:headerReference "
                 "r:id=\"h1\"></w:headerReference><w:headerReference r:id=\"missing\"/><w:headerReference "
                 "r:id=\"c1\"/><w:headerReference r:id=\"h2\"/><w:headerReference/></w:sectPr>",
             {{"h1", "header",
               "<w:p><w:r><w:t>Page</w:t></w:r><w:r><w:t>1</w:t></w:r></w:p><w:tbl><w:tr><w:tc>" + para("T") +
                   "</w:tc></w:tr></w:tbl>"},
              {"f1", "footer",
               para("A") +
                   "<w:p><w:r><w:t>B</w:t></w:r><w:r><mc:AlternateContent><mc:Fallback><w:pict><v:shape><v:textbox>" +
                   kTextBox + "</v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>"},
              {"f2", "footer", ""},
              {"h2", "header", ""},
              {"c1", "comments",
               "<w:comment w:id=\"0\" w:author=\"X\"><w:p><w:r><w:t>Nice</w:t></w:r><w:r><w:t>work</w:t></w:r></w:p>"
               "</w:comment><w:comment w:id=\"1\"><w:p><w:r><w:t>Two</w:t></w:r></w:p></w:comment>"},
              {"e1", "endnotes", "<w:endnote w:id=\"3\">" + para("End") + "</w:endnote>"},
              {"n1", "footnotes",
               "<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
               "<w:footnote w:type=\"continuationNotice\" w:id=\"1\">" +
                   para("cont") + "</w:footnote><w:footnote w:id=\"0\" w:type=\"separator\"/><w:footnote w:id=\"2\">" +
                   para("Foot") + "</w:footnote>"}});
    // Comments, footnotes (no separators or notices), endnotes, then headers and footers as
    // referenced, each read as a body is; the comments part is no header.
    const Outcome extras = run(parts, kExtras);
    EXPECT_EQ(extras.text, "\nBody\nNice\nwork\nTwo\n\nFoot\nEnd\nPage1\nT\nA\nB\nBox\nPage1\nT");
    EXPECT_EQ(run(parts, WriteText).text, "\nBody\n");

    // Each kind of story is a part; all headers and footers are one.
    const std::string zip = ZipBuilder(parts).bytes();
    EXPECT_EQ(partList(readStructured(zip, true)),
              (std::vector<std::string>{"body 1 : Body\n", "comments 1 : Nice\nwork\nTwo\n\n", "footnotes 1 : Foot\n",
                                        "endnotes 1 : End\n", "headers 1 : Page1\nT\nA\nB\nBox\nPage1\nT\n"}));
    EXPECT_EQ(partList(readStructured(zip)), (std::vector<std::string>{"body 1 : Body\n"}));
}

TEST(DocxTextExtractor, DocumentTypesAndUnknownEntitiesLoseNoText)
{
    const std::string body = "<w:body>" + para("A &co; B &amp; &lol9;") + "</w:body>";
    const std::string doctype = "<!DOCTYPE w:document [<!ENTITY co \"Acme\"><!ENTITY lol9 \"&lol8;&lol8;\">]>";
    const Outcome outcome = run(
        edited(docx(""), {{"word/document.xml", "<?xml version=\"1.0\"?>" + doctype + wordPart("document", body)}}));
    EXPECT_EQ(outcome.text, "\nA &co; B & &lol9;");
    EXPECT_EQ(outcome.content, QStringLiteral("\nA &co; B & &lol9;"));
}

TEST(DocxTextExtractor, MainPartSizeBoundAndMissingParts)
{
    const Parts parts =
        docx(para("Body") + "<w:sectPr><w:headerReference r:id=\"h1\"/></w:sectPr>",
             {{"h1", "header", para("H")}, {"c", "comments", "<w:comment>" + para("C") + "</w:comment>"}});
    // The comment starts a line of its own, though the body's last paragraph ends none.
    EXPECT_EQ(run(parts, kExtras, "word/document.xml", 52428799).text, "\nBody\nC\n\nH");
    // Without the body its header references are unknown; the comments are still read.
    const Outcome over = run(parts, kExtras, "word/document.xml", 52428800);
    EXPECT_EQ(over.text, "C\n");
    EXPECT_EQ(over.content, QString());

    const auto mainAt = [](const std::string& target, const std::string& more = "") {
        return relationships(relationship("a", "officeDocument", target, more));
    };
    for (const std::string& rels :
         {std::string(), mainAt("word/other.xml"), mainAt("http://e/x", " TargetMode=\"External\"")}) {
        const Parts noMain = edited(docx(para("x")), {{"_rels/.rels", rels}, {"media/p.png", "png"}});
        const Outcome outcome = run(noMain, WriteText | WritePictures);
        EXPECT_EQ(outcome.code, WordStructureMissing);
        EXPECT_EQ(outcome.files, std::vector<std::string>{"p.png"});
        EXPECT_EQ(outcome.content, QStringLiteral("unset"));
        EXPECT_EQ(run(noMain, WritePictures).code, Success);
    }
    // A main part reached by another name is read under it.
    const Outcome other =
        run(edited(docx(""), {{"_rels/.rels", mainAt("/word/main.xml")},
                              {"word/main.xml", wordPart("document", "<w:body>" + para("main") + "</w:body>")}}));
    EXPECT_EQ(other.text, "\nmain");
}

TEST(DocxTextExtractor, RepeatedAndLoopingReferencesStayBounded)
{
    // Thousands of references to one header are each read.
    std::string sections;
    for (int i = 0; i < 3000; ++i)
        sections += "<w:p><w:pPr><w:sectPr><w:headerReference r:id=\"h1\"/></w:sectPr></w:pPr></w:p>";
    EXPECT_EQ(run(docx(sections, {{"h1", "header", para("H")}}), kExtras).text.size(), 3000u + 3000u * 2u);
    // A header relationship back to the main part, and one to itself, read nothing.
    const Parts loop = edited(
        docx(para("B") + "<w:sectPr><w:headerReference r:id=\"self\"/><w:footerReference r:id=\"main\"/></w:sectPr>"),
        {{"word/_rels/document.xml.rels",
          relationships(relationship("self", "header", "../word/_rels/document.xml.rels") +
                        relationship("main", "footer", "document.xml"))}});
    EXPECT_EQ(run(loop, kExtras).text, "\nB");
    // Header parts stop being read once their declared sizes pass the bound.
    const Parts big = docx(para("B") + "<w:sectPr><w:headerReference r:id=\"b\"/><w:headerReference r:id=\"b\"/>"
                                       "<w:headerReference r:id=\"b\"/></w:sectPr>",
                           {{"b", "header", para("H")}});
    EXPECT_EQ(run(big, kExtras, "word/b.xml", 100 << 20).text, "\nB\nH\nH");
}

TEST(OoxmlPackageFile, MalformedPartEndsTheExportWithTheTextSoFar)
{
    TempDir dir;
    std::string noise;  // keeps the file above the smallest size converted
    for (uint32_t i = 0, x = 1; i < 600; ++i, x = x * 1103515245u + 12345u)
        noise += char(x >> 24);
    // A nameless tag in the main part's relationships, read after the body.
    ZipBuilder(edited(docx(para("kept")),
                      {{"word/_rels/document.xml.rels", "<Relationships><></Relationships>"}, {"pad", noise}}))
        .write(dir.file("a.docx"));
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(dir.file("a.docx").c_str(), out.c_str(), 0, WriteText, 0), ConversionFailed);
    EXPECT_EQ(readFile(out + "/1.txt"), "\nkept");
    QString text = QStringLiteral("unset");
    quilletGetFileContent(QString::fromStdString(dir.file("a.docx")), text);
    EXPECT_EQ(text, QStringLiteral("unset"));
}
