// The token and name builders that drive handlers from the tag scanner.
#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/NameHandlerDriver.h"

#include "package/ByteSource.h"
#include "package/xml/NameTokens.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quillet;

namespace {

std::string nameOf(int token)
{
    for (size_t list = 0; list < kNameListCount; ++list) {
        if (static_cast<int>(kNameLists[list].namespaceId) == token >> 12)
            return kNameLists[list].names[token & 0xFFF];
    }
    return "?";
}

// Logs the calls of both flavours. Takes every child but w:pPr and w:tbl, and
// by name every child whose name does not start with "skip".
class Node : public DefaultElementHandler, public DefaultElementStrHandler {
public:
    explicit Node(std::string& log) : log_(log) {}
    void startElement(int token, const AttributeList& attributes) override
    {
        log_ += "<" + nameOf(token);
        for (int i = 0; i < attributes.count(); ++i)
            log_ += " " + nameOf(attributes.tokenAt(i)) + "=" + attributes.text(attributes.tokenAt(i));
        log_ += ">";
    }
    void endElement(int token) override { log_ += "</" + nameOf(token) + ">"; }
    void startElement(const std::string& name) override { log_ += "<" + name + ">"; }
    void endElement(const std::string& name) override { log_ += "</" + name + ">"; }
    void attribute(const std::string& name, const std::string& text) override { log_ += "{" + name + "=" + text + "}"; }
    void characters(const std::string& text) override { log_ += "[" + text + "]"; }
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::w::pPr || token == token::w::tbl ? nullptr : adoptChild<Node>(log_);
    }
    ElementStrHandler* getChildHandler(const std::string& name) override
    {
        return name.compare(0, 4, "skip") == 0 ? nullptr : this;
    }

private:
    std::string& log_;
};

// The log of scanning the part; an error ends it with "\n!" and its message.
std::string run(const std::string& xml, bool byName = false)
{
    std::string log;
    Node root(log);
    TokenHandlerDriver builder(&root, Vocabulary::WordProcessing);
    NameHandlerDriver nameBuilder(&root);
    MemoryByteSource source(xml.data(), xml.size(), 0);
    try {
        XmlTagScanner(byName ? static_cast<XmlEventReceiver&>(nameBuilder) : builder).scan(source);
    } catch (const std::runtime_error& error) {
        log += std::string("\n!") + error.what();
    }
    return log;
}

std::string repeat(const std::string& piece, int times)
{
    std::string out;
    while (times-- > 0)
        out += piece;
    return out;
}

}  // namespace

TEST(TokenHandlerDriver, DeliversElementsAttributesAndText)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version=\"1.0\"?>\n<w:p w:rsidR=\"0A\"><w:t xml:space=\"x\">Tom &amp; Jerry</w:t></w:p>",
         "<p rsidR=0A><t>[Tom & Jerry]</t></p>"},
        // The first known tag is the root, which is never popped; an unknown one is skipped whole.
        {"<w:t>a</w:t><w:br w:type=\"page\"/><w:t>b</w:t>", "<t>[a]</t><br type=page></br><t>[b]</t>"},
        {"<unknownRoot><w:p><w:t>x</w:t></w:p></unknownRoot>", ""},
        // Whitespace after a start tag is text; text after a child's end or an empty child is dropped.
        {"<w:p>\n <w:r>x<w:br/>y</w:r>cd</w:p>", "<p>[\n ]<r>[x]<br></br></r></p>"},
        // Markup between runs keeps the last tag; CDATA is not decoded; an unknown entity blanks its run.
        {"<w:t>a<!-- c -->b<?pi?>c<![CDATA[&amp;<y>]]></w:t><w:t>a &nbsp; b</w:t>",
         "<t>[a][b][c][&amp;<y>]</t><t>[]</t>"},
        // An unknown end tag pops nothing, a known one closes the top element; nameless tags are unknown.
        {"<w:p><w:r>x</foo>y</w:t>z</w:p></w:p><>x</ ><w:r>q</w:r><w:t>open", "<p><r>[x]</t></p></p><r>[q]</r><t>"},
        // Subtrees without a handler are skipped by depth, empty elements in them included.
        {"<w:p><w:pPr><w:r><w:t>no</w:t></w:r><w:pPr/><w:pPr>no</w:pPr></w:pPr><w:r><w:t>yes</w:t></w:r>"
         "<w:zzz><w:t>no</w:t></w:zzz><w:tbl><w:tr/><w:tbl/></w:tbl><w:t>too</w:t></w:p>",
         "<p><r><t>[yes]</t></r><t>[too]</t></p>"}};
    for (const auto& [xml, expected] : cases)
        EXPECT_EQ(run(xml), expected) << xml;
    // Nesting beyond the handler stack is skipped, unknown elements by a counter: no recursion either way.
    const std::string deep = run(repeat("<w:p>", 100000) + "<w:t>x</w:t>" + repeat("</w:p>", 100000) + "<w:r/>");
    EXPECT_EQ(deep.find("[x]"), std::string::npos);
    EXPECT_EQ(deep.substr(deep.size() - 11), "</p><r></r>");
    EXPECT_EQ(run("<w:p>" + repeat("<x>", 1000000) + "lost" + repeat("</x>", 1000000) + "kept</w:p>"), "<p></p>");
    // Pieces that are not tags raise "意外错误:" in GBK, then the piece cut to the buffer.
    std::string log;
    Node root(log);
    TokenHandlerDriver builder(&root, Vocabulary::WordProcessing);
    for (const auto& [piece, end] : {std::pair<std::string, size_t>{"<!x>", 3}, {"x>", 1}, {"x>", 50}}) {
        log.clear();
        try {
            builder.acceptTag(piece.c_str(), piece.size(), 0, end);
        } catch (const std::runtime_error& error) {
            log = error.what();
        }
        EXPECT_EQ(log, "\xD2\xE2\xCD\xE2\xB4\xED\xCE\xF3:" + piece);
    }
}

TEST(NameHandlerDriver, NamesAndAttributesAsWritten)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version=\"1.0\"?><pr:Rels xmlns:pr=\"u\"><pr:Rel Id=\"rId1\" Target=\"a&amp;b.xml\"/>\r\n"
         "<x:Other a='1'>t</x:Other></pr:Rels\n>",
         "<pr:Rels>{xmlns:pr=u}<pr:Rel>{Id=rId1}{Target=a&b.xml}</pr:Rel><x:Other>{a=1}[t]</x:Other></pr:Rels>"},
        // Malformed attributes are dropped; a space before "=" is allowed, after it not.
        {"<r a=1 b =\"2\" c= \"3\" d=\"4' e=''\"/>", "<r>{b=2}{d=4' e=''}</r>"},
        // Children without handlers are skipped whole, empty ones leaving no skipping behind.
        {"<r><skip a=\"1\"/><c a=\"2\"/><skip><c>no</c><x></></x>no</skip><c>yes</c></r>",
         "<r><c>{a=2}</c><c>[yes]</c></r>"},
        // The root is popped at its end; later tags go nowhere.
        {"</stray><r/><c>x</c></r>", "</stray><r></r>"},
        {"<r><></r>", "<r>\n!IllegalStateException"},
        {"<r></></r>", "<r>\n!IllegalStateException"}};
    for (const auto& [xml, expected] : cases)
        EXPECT_EQ(run(xml, true), expected) << xml;
}
