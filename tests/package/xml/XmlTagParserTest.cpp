// Names, tags, attributes and text of XML parts.
#include "package/xml/XmlTagParser.h"

#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"
#include "package/xml/XmlText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace quillet;

namespace {

using Attributes = std::vector<std::pair<int, std::string>>;

int lookup(NameSpaceId id, const char* name)
{
    return nameTable(id).lookup(nameHash(name, std::strlen(name)), name, std::strlen(name));
}

TagKind kindOf(const std::string& tag)
{
    return classifyTag(tag.c_str(), tag.size(), 0, tag.size() - 1);
}

// The element token of the tag; its known attributes go to list.
int parse(const std::string& tag, Vocabulary vocabulary, AttributeList& list)
{
    XmlTagParser parser(vocabulary);
    parser.parseName(tag.c_str(), tag.size(), 0, tag.size() - 1, kindOf(tag));
    parser.parseAttributes(tag.c_str(), tag.size(), kindOf(tag), list);
    return parser.token();
}

Attributes attributesOf(const std::string& tag, Vocabulary vocabulary = Vocabulary::WordProcessing)
{
    AttributeList list;
    parse(tag, vocabulary, list);
    Attributes attributes(static_cast<size_t>(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        attributes[size_t(i)].first = list.tokenAt(i);
        list.at(i)->toString(attributes[size_t(i)].second);
    }
    return attributes;
}

}  // namespace

// Handlers switch on token values, so the lists are pinned: each list's
// length and a hash of its names in order. A name moved, swapped or dropped
// changes them; a new name goes at the end of its list.
TEST(NameTable, ListsArePinnedAndEveryNameLooksUpToItsOwnToken)
{
    const std::map<NameSpaceId, std::pair<size_t, uint32_t>> pinned{
        {NameSpaceId::Sml, {34, 0xf6f6d4fd}}, {NameSpaceId::R, {14, 0x49ae47e9}},
        {NameSpaceId::Mc, {7, 0x3c6adc73}},   {NameSpaceId::Xdr, {43, 0x1d15104d}},
        {NameSpaceId::V, {128, 0x0e084f83}},  {NameSpaceId::Dgm, {144, 0x5785646c}},
        {NameSpaceId::C, {242, 0xc3dace2f}},  {NameSpaceId::P, {397, 0x7612965d}},
        {NameSpaceId::A, {507, 0x4082b36f}},  {NameSpaceId::W, {800, 0x5beed3c6}}};
    ASSERT_EQ(kNameListCount, pinned.size());
    for (size_t list = 0; list < kNameListCount; ++list) {
        const NameList& names = kNameLists[list];
        uint32_t hash = 0x811c9dc5;  // FNV-1a over the names joined by line feeds
        for (size_t i = 0; i < names.count; ++i) {
            for (const char* c = names.names[i]; *c != '\0'; ++c)
                hash = (hash ^ uint8_t(*c)) * 0x01000193;
            if (i + 1 < names.count)
                hash = (hash ^ uint8_t('\n')) * 0x01000193;
            EXPECT_EQ(lookup(names.namespaceId, names.names[i]),
                      (static_cast<int>(names.namespaceId) << 12) + static_cast<int>(i))
                << names.names[i];
        }
        EXPECT_EQ(std::make_pair(names.count, hash), pinned.at(names.namespaceId)) << int(names.namespaceId);
    }
    EXPECT_EQ(token::w::p, (0x10 << 12) + 383);
    EXPECT_EQ(lookup(NameSpaceId::W, "default"), token::w::default_);
    // Names are compared, not only hashed: "\x03\x17" hashes like "t" (3 * 31 + 23), "\x03\x1a" like "w".
    ASSERT_EQ(nameHash("\x03\x17", 2), nameHash("t", 1));
    EXPECT_EQ(lookup(NameSpaceId::Sml, "\x03\x17"), -1);
    EXPECT_EQ(lookupName("\x03\x1a:tab", 6, Vocabulary::WordProcessing), -1);
    EXPECT_EQ(lookupName("\x03\x1a:rect", 7, Vocabulary::WordProcessing), token::v::rect);
}

TEST(XmlTagParser, TagKindsAndPrefixes)
{
    // Only the space character marks attributes.
    const std::pair<const char*, TagKind> kinds[] = {{"<w:p w:x=\"0\">", OpenWithAttributes},
                                                     {"<w:p\tw:x=\"0\">", Open},
                                                     {"<w:br />", EmptyWithAttributes},
                                                     {"</w:p >", Close},
                                                     {"<>", Open},
                                                     {"</>", Empty},
                                                     {"<!-- -->", Invalid},
                                                     {"a>", Invalid}};
    for (const auto& [tag, kind] : kinds)
        EXPECT_EQ(kindOf(tag), kind) << tag;
    // In word-processing parts any other prefix, or none, means the v table; in spreadsheet
    // parts x means the spreadsheet names, as unprefixed.
    const Vocabulary w = Vocabulary::WordProcessing, s = Vocabulary::Spreadsheet;
    const std::tuple<const char*, Vocabulary, int> names[] = {{"</w:p\r\n>", w, token::w::p},
                                                              {"<o:textbox>", w, token::v::textbox},
                                                              {"<textbox>", w, token::v::textbox},
                                                              {"<w:textbox>", w, -1},
                                                              {"<w:P>", w, -1},
                                                              {"<t  >", s, token::sml::t},
                                                              {"<x:sheetData>", s, token::sml::sheetData},
                                                              {"<y:sheetData>", s, -1},
                                                              {"<:row>", s, -1}};
    for (const auto& [tag, vocabulary, token] : names) {
        AttributeList list;
        EXPECT_EQ(parse(tag, vocabulary, list), token) << tag;
    }
}

TEST(XmlTagParser, KnownWellQuotedAttributes)
{
    EXPECT_EQ(attributesOf("<w:p w:rsidR=\"00A1\" w:unknownAttr=\"x\" r:id='rId7' id=\"s1\">"),
              (Attributes{{token::w::rsidR, "00A1"}, {token::r::id, "rId7"}, {token::v::id, "s1"}}));
    // Quotes of the other kind, ">" and entities inside values; an unknown entity stays as written.
    EXPECT_EQ(
        attributesOf("<w:t w:val='\"hi\" > &amp; &#x263A;' w:sz=\"it's\" w:fill=\"a&nbsp;b\">"),
        (Attributes{{token::w::val, "\"hi\" > & \xE2\x98\xBA"}, {token::w::sz, "it's"}, {token::w::fill, "a&nbsp;b"}}));
    // Space before "=" is accepted; after it, unquoted and mismatched values drop the attribute.
    EXPECT_EQ(attributesOf("<w:p\r\n\tw:val =\"1\" w:color= \"2\" w:sz=3 w:fill=\"\"\tw:id=\"5\" w:space=\"4'>"),
              (Attributes{{token::w::val, "1"}, {token::w::fill, ""}, {token::w::id, "5"}}));
    // Unprefixed attributes are unknown in presentation parts.
    EXPECT_EQ(attributesOf("<a:buChar char=\"x\" r:embed=\"rId2\"/>", Vocabulary::Presentation),
              (Attributes{{token::r::embed, "rId2"}}));
    // Forty attributes outgrow the pool twice; find gives the first of equal tokens.
    static const char* const names[] = {"val", "color", "sz", "space", "shadow", "frame", "fill", "id", "w", "h"};
    std::string tag = "<w:p";
    for (int i = 0; i < 40; ++i)
        tag += " w:" + std::string(names[i % 10]) + "=\"" + std::to_string(i) + "\"";
    AttributeList list;
    parse(tag + ">", Vocabulary::WordProcessing, list);
    ASSERT_EQ(list.count(), 40);
    EXPECT_EQ(list.tokenAt(39), token::w::h);
    EXPECT_EQ(list.text(token::w::val) + list.text(token::w::h), "09");
    EXPECT_EQ(list.find(token::w::rsidR), nullptr);
}

// The one-pass parse must give what classifying and then parsing the name
// give, through one parser whose recent names fill as it goes.
TEST(XmlTagParser, OnePassAgreesWithClassifyingThenParsing)
{
    const char* const tags[] = {"<c r=\"A1\" s=\"2\" t=\"s\">",
                                "<v>",
                                "</v>",
                                "</c>",
                                "<c>",
                                "<x:c t=\"b\"/>",
                                "<w:p\tw:x=\"0\">",
                                "<w:br />",
                                "</w:p >",
                                "</w:p\r\n>",
                                "<>",
                                "</>",
                                "< c>",
                                "<c/>",
                                "<t  >",
                                "<:row>",
                                "<y:sheetData>",
                                "<x:sheetData>",
                                "<a:b:c d=\"1\">",
                                "<row\n r=\"1\">",
                                "<headerFooter differentOddEven=\"1\">",
                                "<\x03\x17>",
                                "<t>",
                                "<\x03\x17>",
                                "<a/b>",
                                "<c r=\"1\"\t/>",
                                "<!-- -->",
                                "a>"};
    for (const Vocabulary vocabulary : {Vocabulary::Spreadsheet, Vocabulary::WordProcessing}) {
        XmlTagParser onePass(vocabulary);
        for (int round = 0; round < 2; ++round) {
            for (const std::string tag : tags) {
                XmlTagParser twoPass(vocabulary);
                const TagKind kind = kindOf(tag);
                twoPass.parseName(tag.c_str(), tag.size(), 0, tag.size() - 1, kind);
                ASSERT_EQ(onePass.parseTag(tag.c_str(), tag.size(), 0, tag.size() - 1), kind) << tag;
                EXPECT_EQ(onePass.token(), twoPass.token()) << tag;
                EXPECT_EQ(onePass.hasAttributeArea(), twoPass.hasAttributeArea()) << tag;
                AttributeList one, two;
                onePass.parseAttributes(tag.c_str(), tag.size(), kind, one);
                twoPass.parseAttributes(tag.c_str(), tag.size(), kind, two);
                ASSERT_EQ(one.count(), two.count()) << tag;
                for (int i = 0; i < one.count(); ++i)
                    EXPECT_EQ(one.tokenAt(i), two.tokenAt(i)) << tag;
            }
        }
    }
}

TEST(XmlTagParser, OnlyTheAttributesAHandlerReadsAreDecoded)
{
    const std::string tag = "<c r=\"A1\" s=\"7\" t=\"inlineStr\" cm=\"1\">";
    XmlTagParser parser(Vocabulary::Spreadsheet);
    const TagKind kind = parser.parseTag(tag.c_str(), tag.size(), 0, tag.size() - 1);
    const int wanted[] = {token::sml::t, token::sml::s, -1};
    AttributeList list;
    parser.parseAttributes(tag.c_str(), tag.size(), kind, list, wanted);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(*list.valueOf(token::sml::t) + *list.valueOf(token::sml::s), "inlineStr7");
    EXPECT_EQ(list.valueOf(token::sml::r), nullptr);
    const int none[] = {-1};
    list.clear();
    parser.parseAttributes(tag.c_str(), tag.size(), kind, list, none);
    EXPECT_EQ(list.count(), 0);
}

TEST(XmlText, EntitiesAndCharacterReferences)
{
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"Tom &amp; Jerry &lt;a&gt; &quot;q&quot; &apos;s&apos; &amp;amp;", "Tom & Jerry <a> \"q\" 's' &amp;"},
        // Without a ";" after it an ampersand stays, and so does any other named
        // entity: never expanded, and the text around it kept.
        {"R&D a & b &amp c &", "R&D a & b &amp c &"},
        {"ok &amp; then &copy; c", "ok & then &copy; c"},
        {"a & b;", "a & b;"},
        {"&#65;&#x41;&#x4e2d;&#233;&#x1F600;&#x10FFFF;&#127;&#128;",
         "AA\xE4\xB8\xAD\xC3\xA9\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\x7F\xC2\x80"},
        // Zero, surrogates and values beyond Unicode give U+FFFD; only leading digits count.
        {"&#0;&#;&#xD800;&#xDFFF;&#x110000;&#99999999999999999999999;", fffd + fffd + fffd + fffd + fffd + fffd},
        {"&#65x;B&#x41g;&#65 abc;d", "ABAAd"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(decodeXmlText(text.c_str(), text.size(), 0, text.size() - 1, true), expected) << text;
    // An entity running past the end of the range is not decoded.
    EXPECT_EQ(decodeXmlText("a&amp;b", 7, 0, 4, true), "a&amp");
}
