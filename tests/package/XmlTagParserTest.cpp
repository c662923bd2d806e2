#include "package/XmlTagParser.h"

#include "package/NameTokens.h"
#include "package/XmlRoAttr.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

TagKind kindOf(const std::string& tag)
{
    return classifyTag(tag.c_str(), tag.size(), 0, tag.size() - 1);
}

struct Parsed {
    TagKind kind;
    int token;
    std::vector<std::pair<int, std::string>> attributes;
};

Parsed parse(const std::string& tag, Vocabulary vocabulary)
{
    XmlTagParser parser(vocabulary);
    XmlRoAttrList list;
    Parsed parsed {kindOf(tag), -1, {}};
    parser.parseName(tag.c_str(), tag.size(), 0, tag.size() - 1, parsed.kind);
    parsed.token = parser.token();
    parser.parseAttributes(tag.c_str(), tag.size(), parsed.kind, list);
    for (int i = 0; i < list.count(); ++i) {
        std::string value;
        list.at(i)->toString(value);
        parsed.attributes.emplace_back(list.tokenAt(i), value);
    }
    return parsed;
}

using Attributes = std::vector<std::pair<int, std::string>>;

}  // namespace

TEST(XmlTagParser, ClassifiesTags)
{
    EXPECT_EQ(kindOf("<w:p>"), Open);
    EXPECT_EQ(kindOf("<w:p w:rsidR=\"00\">"), OpenWithAttributes);
    EXPECT_EQ(kindOf("<w:br/>"), Empty);
    EXPECT_EQ(kindOf("<w:br w:type=\"page\"/>"), EmptyWithAttributes);
    EXPECT_EQ(kindOf("<w:br />"), EmptyWithAttributes);
    EXPECT_EQ(kindOf("</w:p>"), Close);
    EXPECT_EQ(kindOf("</w:p >"), Close);
    // Only the space character marks attributes.
    EXPECT_EQ(kindOf("<w:p\tw:rsidR=\"00\">"), Open);
    EXPECT_EQ(kindOf("<w:p\n  w:rsidR=\"00\">"), OpenWithAttributes);
    EXPECT_EQ(kindOf("<>"), Open);
    EXPECT_EQ(kindOf("</>"), Empty);
    EXPECT_EQ(kindOf("<!-- c -->"), Invalid);
    EXPECT_EQ(kindOf("<?pi?>"), Invalid);
    EXPECT_EQ(kindOf("a>"), Invalid);
    EXPECT_EQ(kindOf("<a"), Invalid);
    const std::string text = "<a>";
    EXPECT_EQ(classifyTag(text.c_str(), text.size(), 0, 3), Invalid);
    EXPECT_EQ(classifyTag(text.c_str(), text.size(), 0, 0), Invalid);
}

TEST(XmlTagParser, PrefixesChooseTablesPerVocabulary)
{
    const Vocabulary wp = Vocabulary::WordProcessing;
    const Vocabulary ss = Vocabulary::Spreadsheet;
    const Vocabulary pr = Vocabulary::Presentation;
    EXPECT_EQ(parse("<w:p>", wp).token, token::w::p);
    EXPECT_EQ(parse("</w:p>", wp).token, token::w::p);
    EXPECT_EQ(parse("<w:br/>", wp).token, token::w::br);
    EXPECT_EQ(parse("<mc:AlternateContent>", wp).token, token::mc::AlternateContent);
    EXPECT_EQ(parse("<v:textbox>", wp).token, token::v::textbox);
    // In word-processing parts any other prefix, or none, means the v table.
    EXPECT_EQ(parse("<o:textbox>", wp).token, token::v::textbox);
    EXPECT_EQ(parse("<wp:shape>", wp).token, token::v::shape);
    EXPECT_EQ(parse("<textbox>", wp).token, token::v::textbox);
    EXPECT_EQ(parse("<w:textbox>", wp).token, -1);
    EXPECT_EQ(parse("<a:t>", wp).token, -1);

    EXPECT_EQ(parse("<sheetData>", ss).token, token::sml::sheetData);
    EXPECT_EQ(parse("<x:sheetData>", ss).token, -1);
    EXPECT_EQ(parse("<t>", ss).token, token::sml::t);
    EXPECT_EQ(parse("<a:t>", ss).token, token::a::t);
    EXPECT_NE(token::a::t, token::sml::t);
    EXPECT_EQ(parse("<xdr:wsDr>", ss).token, token::xdr::wsDr);
    EXPECT_EQ(parse("<c:chart>", ss).token, token::c::chart);
    EXPECT_EQ(parse("<p:sp>", ss).token, -1);
    EXPECT_EQ(parse("<:row>", ss).token, -1);

    EXPECT_EQ(parse("<p:sp>", pr).token, token::p::sp);
    EXPECT_EQ(parse("<a:t>", pr).token, token::a::t);
    EXPECT_EQ(parse("<dgm:pt>", pr).token, token::dgm::pt);
    EXPECT_EQ(parse("<c:chart>", pr).token, token::c::chart);
    EXPECT_EQ(parse("<sp>", pr).token, -1);
    EXPECT_EQ(parse("<xdr:sp>", pr).token, -1);
    // Names are case-sensitive; a tab before the attributes leaves one unknown name.
    EXPECT_EQ(parse("<w:P>", wp).token, -1);
    EXPECT_EQ(parse("<w:t\txml:space=\"preserve\">", wp).token, -1);
    // Trailing whitespace before ">" is no part of the name.
    EXPECT_EQ(parse("</w:p\r\n>", wp).token, token::w::p);
}

TEST(XmlTagParser, ReadsKnownWellQuotedAttributes)
{
    const Vocabulary wp = Vocabulary::WordProcessing;
    EXPECT_EQ(parse("<w:p w:rsidR=\"00A1\" w:unknownAttr=\"x\" r:id='rId7'>", wp).attributes,
              (Attributes {{token::w::rsidR, "00A1"}, {token::r::id, "rId7"}}));
    // r:id and an unprefixed id come from different tables.
    EXPECT_EQ(parse("<v:shape id=\"s1\" r:id=\"rId1\"/>", wp).attributes,
              (Attributes {{token::v::id, "s1"}, {token::r::id, "rId1"}}));
    // Quotes of the other kind, ">" and entities inside values.
    EXPECT_EQ(parse("<w:t w:val='say \"hi\" > &amp; &#x263A;' w:color=\"it's\">", wp).attributes,
              (Attributes {{token::w::val, "say \"hi\" > & \xE2\x98\xBA"}, {token::w::color, "it's"}}));
    // Space before "=" is accepted, after it the attribute is dropped, and so
    // are unquoted and mismatched values.
    EXPECT_EQ(parse("<w:p w:val =\"1\" w:color= \"2\" w:sz=3 w:fill=\"\" w:id=\"5\" w:space=\"4'>", wp).attributes,
              (Attributes {{token::w::val, "1"}, {token::w::fill, ""}, {token::w::id, "5"}}));
    // Line breaks and tabs separate attributes once a space made it kind 1.
    EXPECT_EQ(parse("<w:p\r\n\tw:val=\"1\"\tw:id=\"2\" />", wp).attributes,
              (Attributes {{token::w::val, "1"}, {token::w::id, "2"}}));
    // In presentation parts unprefixed attributes are unknown.
    EXPECT_EQ(parse("<a:buChar char=\"x\" r:embed=\"rId2\"/>", Vocabulary::Presentation).attributes,
              (Attributes {{token::r::embed, "rId2"}}));
    EXPECT_EQ(parse("<c r=\"A1\" t=\"s\">", Vocabulary::Spreadsheet).attributes,
              (Attributes {{token::sml::r, "A1"}, {token::sml::t, "s"}}));
    // An unknown named entity blanks that value only.
    EXPECT_EQ(parse("<w:t w:val=\"a&nbsp;b\" w:id=\"1\">", wp).attributes,
              (Attributes {{token::w::val, ""}, {token::w::id, "1"}}));
}

TEST(XmlTagParser, FortyAttributesAndRepeatedTokens)
{
    // 40 known attributes: the pool of 16 doubles twice.
    static const char* const names[] = {"val", "color", "sz", "space", "shadow", "frame", "fill", "id", "w", "h"};
    std::string tag = "<w:p";
    Attributes expected;
    for (int i = 0; i < 40; ++i) {
        const std::string name = names[i % 10];
        tag += " w:" + name + "=\"" + std::to_string(i) + "\"";
        expected.emplace_back(lookupName(("w:" + name).c_str(), name.size() + 2, Vocabulary::WordProcessing),
                              std::to_string(i));
    }
    tag += ">";
    XmlTagParser parser(Vocabulary::WordProcessing);
    XmlRoAttrList list;
    parser.parseName(tag.c_str(), tag.size(), 0, tag.size() - 1, OpenWithAttributes);
    parser.parseAttributes(tag.c_str(), tag.size(), OpenWithAttributes, list);
    ASSERT_EQ(list.count(), 40);
    EXPECT_EQ(list.poolSize(), 64);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(list.tokenAt(i), expected[size_t(i)].first);
    // find gives the first of equal tokens.
    EXPECT_EQ(list.text(token::w::val), "0");
    EXPECT_EQ(list.text(token::w::h), "9");
    EXPECT_EQ(list.find(token::w::rsidR), nullptr);
}
