// The RTF tokenizer and control words on documents written in code.
#include "rtf/RtfParser.h"
#include "rtf/RtfDocument.h"

#include "output/DocumentMetadata.h"

#include "support/RtfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Parsed {
    std::u16string text;
    std::vector<std::shared_ptr<RtfPicture>> pictures;
};

Parsed parseRtf(const std::string& bytes, bool withHeadersFooters = false)
{
    TempDir dir;
    writeFile(dir.file("in.rtf"), bytes);
    RtfDocument document(dir.file("in.rtf"));
    RtfParser parser(withHeadersFooters);
    EXPECT_EQ(parser.parse(document), 1);
    Parsed parsed;
    document.text(parsed.text);
    document.pictures(parsed.pictures);
    return parsed;
}

std::string bytesOf(const RtfPicture& picture)
{
    return std::string(picture.data->begin(), picture.data->end());
}

}  // namespace

TEST(RtfParser, TextControlWordsAndSymbols)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"{\\rtf1 Hello\\par World}", u"Hello\nWorld"},
        {"{\\rtf1 a\\tab b\\cell c\\row}", u"a  b\tc\n"},
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}}Text}", u"Text"},
        {"{\\rtf1\\uc1\\u20320?}", u"\u4F60"},
        {"{\\rtf1\\ansicpg936 \\'c4\\'e3}", u"\u4F60"},
        {"{\\rtf1\\ansicpg936 \\'c4\r\n\\'e3}", u"\u4F60"},  // a line break between the two halves
        {"{\\rtf1 a\\endash b\\emdash c}", u"a\u2013b\u2014c"},
        {"{\\rtf1 one; two}", u"one; two"},
        {"{\\rtf1 a}text after", u"a"},
        {"{\\rtf1 \\lquote x\\rquote \\ldblquote y\\rdblquote\\bullet}", u"\u2018x\u2019\u201Cy\u201D\u2022"},
        {"{\\rtf1 a\\line b\\softline c\\emspace d\\enspace e}", u"a b c d e"},
        {"{\\rtf1 \\{\\}\\\\\\~\\_\\-\\|\\:x}", u"{}\\\u00A0\u2011\u00ADx"},
        {"{\\rtf1 Hel\r\nlo\nworld}", u"Helloworld"},  // source line breaks are not text
        {"{\\rtf1 caf\xE9 \\'e9t\\'e9}", u"caf\u00E9 \u00E9t\u00E9"},
        {"{\\rtf1\\ansicpg1251 \xCF\xF0\xE8}", u"\u041F\u0440\u0438"},
        {"{\\rtf1\\ansicpg99999 \\'e9}", u"\u00E9"},  // unknown pages read as 1252
        // Fallbacks: one unit per byte, word or escape, never a line break; groups end them.
        {"{\\rtf1\\uc2\\u20320\\'c4\\'e3x}", u"\u4F60x"},
        {"{\\rtf1\\uc2\\u20320\r\nab}", u"\u4F60"},
        {"{\\rtf1\\uc1\\u28129\r\n?\\u12293\r\n?\\u12392 ?}", u"\u6DE1\u3005\u3068"},
        {"{\\rtf1\\uc2\\u20320 a\r\nbc}", u"\u4F60c"},
        {"{\\rtf1\\u-3913?\\u?\\uc0\\u65 B}", u"\uF0B7\uFFFFAB"},
        {"{\\rtf1\\uc\\u20320 dropped{kept}}", u"\u4F60kept"},
        {"{\\rtf1{\\uc3 x}\\u20320?y}", u"x\u4F60y"},  // uc is restored with its group
        {"{\\rtf1\\ud\\u20320 x}", u"\u4F60x"},
        // A token read ahead by an escape run acts before what follows it, also at the end.
        {"{\\rtf1 \\'41\\par x\\'42}", u"A\nxB"},
        {"{\\rtf1 \\'41\\'42\\par", u"AB\n"},
        {"{\\rtf1 \\'41\\u66?C}", u"ABC"},
        // Destinations: the skip set, and "\*" before a word we do not know.
        {"{\\rtf1{\\*\\unknown x}y{\\*\\pict}z}", u"yz"},
        {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}} after}", u"link after"},
        {"{\\rtf1{\\info{\\title T}}{\\header H}{\\stylesheet{\\s0 Normal;}}body}", u"body"},
        {"{\\rtf1{\\headerl L}{\\headerr R}{\\footerf F}{\\footerl G}{\\footerr H}body}", u"body"},
        {"{\\rtf1{\\*\\foo a\\}b}c{\\fonttbl{\\f0 x\\{;}}d}", u"cd"},  // escaped braces do not count
        {"{\\rtf1{\\*\\foo \\bin3 }}}}x}", u"x"},                      // nor braces in binary data
        {"{\\rtf1 a\\bin3 {}}b}", u"ab"},
        // A count past the end of the file takes nothing.
        {"{\\rtf1 a\\bin2147483647 xyz}", u"axyz"},
        {"{\\rtf1 a\\bin99999999999999999999 xyz}", u"axyz"},
        {"{\\rtf1 a\\*b}", u"ab"},
        // Broken input.
        {"}}pre{\\rtf1 a}}", u"a"},
        {"{\\rtf1 a{b", u"ab"},
        {"{\\rtf1 a\\", u"a"},
        {"{\\rtf1 a\\'4", u"a\u00FF"},
        {"{\\rtf1 \\'zzA}", std::u16string(1, u'\0') + u"A"},
        {"", u""},
        {"plain text", u""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(parseRtf(input).text, expected) << input;
}

TEST(RtfParser, ZeroBytesAreNothingAndLongRunsDecodeAsOne)
{
    EXPECT_EQ(parseRtf(std::string("{\\rtf1 a\0b\\u20013\0?\0c\0\0}", 24)).text, u"ab\u4E2Dc");
    // A run far longer than one decoding piece, of double-byte characters
    // whose second byte is ASCII: no cut may fall between the two.
    std::string run;
    std::u16string expected;
    const std::u16string one = parseRtf("{\\rtf1\\ansicpg936 \x81\x40z}").text;
    for (int i = 0; i < 50000; ++i) {
        run += i % 7 == 0 ? "\x81\x40z" : "\x81\x40";
        expected += i % 7 == 0 ? one : one.substr(0, 1);
    }
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(parseRtf("{\\rtf1\\ansicpg936 " + run + "}").text, expected);
}

TEST(RtfParser, FontCharacterSetsDecideTheCodePageOfTheirBytes)
{
    const std::string fonts = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times;}"
                              "{\\f1\\fnil\\fcharset128 MS Mincho;}\\f2\\fcharset204 Arial;"
                              "{\\f3\\fcharset0 Courier;}{\\f4\\fcharset134{\\*\\panose 0}SimSun;}}";
    const std::pair<std::string, std::u16string> cases[] = {
        {"{\\f1 \\'93\\'fa\\'96\\'7b}\\'e9", u"\u65E5\u672C\u00E9"},  // the group ends the font
        // A double-byte character's printable second byte is written as is, or escaped.
        {"\\f1 \\'83e\\'83X\\'83g \\'83\\\\x", u"\u30C6\u30B9\u30C8 \u30BDx"},
        {"\\f2 \\'cf\\'f0\\plain \\'cf", u"\u041F\u0440\u00CF"},  // plain returns to the default font
        {"\\f2 \xCF\\f3 \xCF\\f4 \\'c4\\'e3", u"\u041F\u00CF\u4F60"},
        {"\\f1\\uc2\\u26085\\'93\\'fa\\u26412\\'96\\'7b.", u"\u65E5\u672C."},
        {"\\f9 \\'e9\\f1\\'83", u"\u00E9"},  // an unknown font; half a character at the end
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(parseRtf(fonts + body + "}").text, expected) << body;
    // The default font's set, and the ANSI page under a font that names none.
    EXPECT_EQ(parseRtf("{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset204 A;}}\\'cf\\'f0}").text, u"\u041F\u0440");
    EXPECT_EQ(parseRtf("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}}\\f0\\'cf}").text, u"\u041F");
}

TEST(RtfParser, HeadersAndFootersFollowTheBodyWhenAskedFor)
{
    const std::string rtf = "{\\rtf1{\\header H\\par}{\\headerl L{\\b b}\\par}body\\par{\\footerr F\\'e9}end}";
    EXPECT_EQ(parseRtf(rtf).text, u"body\nend");
    EXPECT_EQ(parseRtf(rtf, true).text, u"body\nendH\nLb\nF\u00E9");
}

TEST(RtfParser, DeepNestingAndLongWordsStayBounded)
{
    const size_t depth = 100000;
    const std::string nested = "{\\rtf1 " + std::string(depth, '{') + "x" + std::string(depth, '}') + "y}";
    EXPECT_EQ(parseRtf(nested).text, u"xy");
    // Alternating states cannot share one saved entry.
    std::string alternating = "{\\rtf1 ";
    for (size_t i = 0; i < depth / 2; ++i)
        alternating += i % 2 ? "{\\uc1 " : "{\\uc2 ";
    EXPECT_EQ(parseRtf(alternating + "z").text, u"z");
    const std::string longWord = "{\\rtf1 \\" + std::string(1 << 20, 'a') + "123456789012345678901234567890 x}";
    EXPECT_EQ(parseRtf(longWord).text, u"x");
}

TEST(RtfParser, Pictures)
{
    const std::string png = "\x89PNG\r\n\x1A\n" + std::string(200, '\x5A');
    const std::string hex = rtfHex(png, 16);
    struct Case {
        std::string body;
        std::vector<std::pair<int, std::string>> expected;  // kind and bytes of each record
    };
    const Case cases[] = {
        {"{\\pict\\pngblip\\picw1\r\n" + hex + "}after", {{RtfPicture::Png, png}}},
        {"{\\pict{\\*\\blipuid 00ff}\\jpegblip " + hex + "}", {{RtfPicture::Jpeg, png}}},
        {"{\\*\\shppict{\\pict\\emfblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0304}}",
         {{RtfPicture::Emf, "\x01\x02"}, {RtfPicture::Wmf, "\x03\x04"}}},
        {"{\\pict\\dibitmap0 0a}{\\pict\\wbitmap0 0b}{\\pict\\macpict 0c}{\\pict\\pmmetafile 0d}",
         {{RtfPicture::Bitmap, "\x0a"},
          {RtfPicture::Bitmap, "\x0b"},
          {RtfPicture::Pict, "\x0c"},
          {RtfPicture::Wmf, "\x0d"}}},
        {"{\\pict\\pngblip 010}", {}},                                   // odd length
        {"{\\pict\\pngblip 01zz}", {}},                                  // not hex
        {"{\\pict\\picw5 0102}", {}},                                    // no known type
        {"{\\pict\\pngblip }", {}},                                      // no data
        {"{\\pict\\pngblip ab;0102}", {{RtfPicture::Png, "\x01\x02"}}},  // a run ending in ";" is dropped
        {"{\\pict\\pngblip 0102 {0304} 0506}", {{RtfPicture::Png, "\x01\x02"}}},
        {"{\\pict\\pngblip\\bin4 {}}\x01}", {{RtfPicture::Png, "{}}\x01"}}},
        {"{\\pict\\pngblip\\bin999999 ab", {}},  // missing bytes: no picture at all
    };
    for (const Case& c : cases) {
        const Parsed parsed = parseRtf("{\\rtf1 before" + c.body + "}");
        ASSERT_EQ(parsed.pictures.size(), c.expected.size()) << c.body;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(parsed.pictures[i]->kind, c.expected[i].first) << c.body;
            EXPECT_EQ(bytesOf(*parsed.pictures[i]), c.expected[i].second) << c.body;
            EXPECT_EQ(parsed.pictures[i]->size, c.expected[i].second.size());
        }
        EXPECT_EQ(parsed.text.substr(0, 6), u"before") << c.body;
    }
    EXPECT_EQ(parseRtf("{\\rtf1 before{\\pict\\pngblip " + hex + "}after}").text, u"beforeafter");
    // Binary data said to run past the end of the file takes nothing with it.
    for (const char* body : {"{\\pict\\pngblip\\bin99 ab}", "{\\*\\x\\bin99 }", "\\bin99 "})
        EXPECT_EQ(parseRtf(std::string("{\\rtf1 before") + body + "after}").text, u"beforeafter") << body;
}

TEST(RtfParser, InfoGroupPropertiesOnlyWhenAsked)
{
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\info{\\title Caf\\'e9 \\u8364?}{\\author Ana}{\\operator Ben}"
                            "{\\creatim\\yr2023\\mo4\\dy5\\hr6\\min7}{\\revtim\\yr2023\\mo13\\dy1\\hr0\\min0}"
                            "{\\version2}\\edmins5 stray{\\nofpages3}{\\nofwords-1}{\\*\\company Acme}"
                            "{\\*\\userprops{\\propname x}}{\\doccomm  }}Body\\par}";
    DocumentMetadata metadata;
    TempDir dir;
    writeFile(dir.file("in.rtf"), rtf);
    RtfDocument document(dir.file("in.rtf"));
    RtfParser(false, &metadata).parse(document);
    std::u16string text;
    document.text(text);
    EXPECT_EQ(text, u"Body\n") << "nothing of the group in the text";
    std::vector<std::pair<std::string, std::string>> found;
    for (const DocumentMetadata::Entry& entry : metadata.entries())
        found.emplace_back(entry.name, entry.value);
    EXPECT_EQ(found, (std::vector<std::pair<std::string, std::string>>{{"title", "Caf\xC3\xA9 \xE2\x82\xAC"},
                                                                       {"author", "Ana"},
                                                                       {"last_author", "Ben"},
                                                                       {"created", "2023-04-05T06:07:00"},
                                                                       {"pages", "3"},
                                                                       {"company", "Acme"}}))
        << "month 13, a negative count and blank comments are absent";
    // Without a place for them, the group is skipped as before.
    EXPECT_EQ(parseRtf(rtf).text, u"Body\n");
}
