#include "package/XmlText.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

std::string decoded(const std::string& text, bool entities = true)
{
    return decodeXmlText(text.c_str(), text.size(), 0, text.empty() ? 0 : text.size() - 1, entities);
}

}  // namespace

TEST(XmlText, PredefinedEntitiesAndStrayAmpersands)
{
    EXPECT_EQ(decoded("Tom &amp; Jerry"), "Tom & Jerry");
    EXPECT_EQ(decoded("&lt;a&gt; &quot;q&quot; &apos;s&apos;"), "<a> \"q\" 's'");
    EXPECT_EQ(decoded("&amp;amp;"), "&amp;");
    // No ";" anywhere after it: the ampersand stays, decoding goes on.
    EXPECT_EQ(decoded("R&D"), "R&D");
    EXPECT_EQ(decoded("a & b &amp c"), "a & b &amp c");
    EXPECT_EQ(decoded("x &"), "x &");
    // Any other named entity blanks the whole run.
    EXPECT_EQ(decoded("a&nbsp;b"), "");
    EXPECT_EQ(decoded("ok &amp; then &copy; c"), "");
    EXPECT_EQ(decoded("a & b;"), "");
    // Without decoding (CDATA) the bytes stay as they are.
    EXPECT_EQ(decoded("&amp;&nbsp;", false), "&amp;&nbsp;");
    EXPECT_EQ(decoded(""), "");
}

TEST(XmlText, CharacterReferencesBecomeUtf8OfTheFullCodePoint)
{
    EXPECT_EQ(decoded("&#65;&#x41;"), "AA");
    EXPECT_EQ(decoded("&#x4e2d;&#25991;"), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(decoded("caf&#233;"), "caf\xC3\xA9");
    EXPECT_EQ(decoded("&#x1F600;"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(decoded("&#x10FFFF;"), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(decoded("&#127;&#128;"), "\x7F\xC2\x80");
    // Zero, surrogates and values beyond Unicode give U+FFFD.
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(decoded("&#0;"), replacement);
    EXPECT_EQ(decoded("&#;"), replacement);
    EXPECT_EQ(decoded("&#xD800;&#xDFFF;"), replacement + replacement);
    EXPECT_EQ(decoded("&#x110000;"), replacement);
    EXPECT_EQ(decoded("&#99999999999999999999999;"), replacement);
    // Only the leading digits count, up to the first ";".
    EXPECT_EQ(decoded("&#65x;B"), "AB");
    EXPECT_EQ(decoded("&#x41g;"), "A");
    EXPECT_EQ(decoded("&#65 abc;d"), "Ad");
}

TEST(XmlText, RangesInsideALargerBuffer)
{
    const std::string buffer = "<t>a&amp;b</t>";
    EXPECT_EQ(decodeXmlText(buffer.c_str(), buffer.size(), 3, 9, true), "a&b");
    EXPECT_EQ(decodeXmlText(buffer.c_str(), buffer.size(), 3, 2, true), "");
    // An entity that runs past the end of the range is not decoded.
    EXPECT_EQ(decodeXmlText(buffer.c_str(), buffer.size(), 3, 7, true), "a&amp");
    EXPECT_EQ(decodeXmlText(buffer.c_str(), buffer.size(), 3, 1000, true), "a&b</t>");
    EXPECT_EQ(decodeXmlText(buffer.c_str(), buffer.size(), 1000, 2000, true), "");
}
