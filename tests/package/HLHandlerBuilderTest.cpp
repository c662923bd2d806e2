#include "package/HLHandlerBuilder.h"

#include "package/ByteSource.h"
#include "package/NameTokens.h"
#include "package/XmlTagScanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

using namespace quillet;

namespace {

std::string tokenName(int token)
{
    static const std::map<int, std::string> names = [] {
        std::map<int, std::string> all;
        for (size_t list = 0; list < kNameListCount; ++list) {
            const NameList& names = kNameLists[list];
            for (size_t i = 0; i < names.count; ++i)
                all[(static_cast<int>(names.namespaceId) << 12) + static_cast<int>(i)] = names.names[i];
        }
        return all;
    }();
    const auto found = names.find(token);
    return found == names.end() ? "?" : found->second;
}

int liveNodes = 0;

// Logs every call; accepts the children named in accepted (all when empty).
struct Tree {
    std::string log;
    std::set<int> accepted;
    std::set<int> declining;
};

class Node : public DefaultElementHandler {
public:
    explicit Node(Tree& tree, bool declines = false) : tree_(tree), declines_(declines) { ++liveNodes; }
    ~Node() override { --liveNodes; }

    void startElement(int token, const XmlRoAttrList& attributes) override
    {
        tree_.log += "<" + tokenName(token);
        for (int i = 0; i < attributes.count(); ++i) {
            std::string value;
            attributes.at(i)->toString(value);
            tree_.log += " " + tokenName(attributes.tokenAt(i)) + "=" + value;
        }
        tree_.log += ">";
    }
    void endElement(int token) override { tree_.log += "</" + tokenName(token) + ">"; }
    void characters(const std::string& text) override { tree_.log += "[" + text + "]"; }
    ElementHandler* getChildHandler(int token) override
    {
        if (!tree_.accepted.empty() && tree_.accepted.count(token) == 0)
            return nullptr;
        return adoptChild<Node>(tree_, tree_.declining.count(token) != 0);
    }
    bool declinesAttributes() const override { return declines_; }

    // Builds a chain of descendants directly, as deep as asked.
    void grow(int depth)
    {
        Node* node = this;
        for (int i = 0; i < depth; ++i)
            node = node->adoptChild<Node>(tree_);
    }

private:
    Tree& tree_;
    bool declines_;
};

std::string run(const std::string& xml, Tree& tree, Vocabulary vocabulary = Vocabulary::WordProcessing)
{
    Node root(tree);
    HLHandlerBuilder builder(&root, vocabulary);
    XmlTagScanner scanner(builder);
    MemoryByteSource source(xml.data(), xml.size());
    scanner.scan(source);
    return tree.log;
}

std::string run(const std::string& xml)
{
    Tree tree;
    return run(xml, tree);
}

}  // namespace

TEST(HLHandlerBuilder, DeliversElementsAttributesAndText)
{
    EXPECT_EQ(run("<?xml version=\"1.0\"?>\n<w:document><w:body><w:p w:rsidR=\"0A\"><w:r><w:t xml:space=\"preserve\">"
                  "Tom &amp; Jerry</w:t></w:r></w:p></w:body></w:document>"),
              "<document><body><p rsidR=0A><r><t>[Tom & Jerry]</t></r></p></body></document>");
    // Whitespace runs after start tags arrive like any other text.
    EXPECT_EQ(run("<w:p>\n <w:r/>\n</w:p>"), "<p>[\n ]<r></r></p>");
    // The first known tag is the root, whatever it is; the root is never popped.
    EXPECT_EQ(run("<w:t>a</w:t><w:t>b</w:t>"), "<t>[a]</t><t>[b]</t>");
    EXPECT_EQ(run("<w:br w:type=\"page\"/><w:t>x</w:t>"), "<br type=page></br><t>[x]</t>");
    // A root element of unknown name is skipped with all it holds.
    EXPECT_EQ(run("<unknownRoot><w:p><w:t>x</w:t></w:p></unknownRoot>"), "");
    EXPECT_EQ(run(""), "");
}

TEST(HLHandlerBuilder, SkipsSubtreesWithoutHandlers)
{
    Tree tree;
    tree.accepted = {token::w::body, token::w::p, token::w::r, token::w::t};
    EXPECT_EQ(run("<w:body><w:p><w:pPr><w:r><w:t>hidden</w:t></w:r><w:pPr>deeper</w:pPr></w:pPr>"
                  "<w:r><w:t>shown</w:t></w:r><w:unknownThing><w:t>no</w:t></w:unknownThing>"
                  "<w:r><w:rPr/><w:t>too</w:t></w:r></w:p></w:body>",
                  tree),
              "<body><p><r><t>[shown]</t></r><r><t>[too]</t></r></p></body>");
    // Empty elements inside a skipped subtree do not change its depth.
    Tree again;
    again.accepted = {token::w::p, token::w::t};
    EXPECT_EQ(run("<w:body><w:p><w:tbl><w:tr/><w:tc><w:p/></w:tc></w:tbl><w:t>after</w:t></w:p></w:body>", again),
              "<body><p><t>[after]</t></p></body>");
}

TEST(HLHandlerBuilder, EmptyElementsAndTheAttributeChoice)
{
    Tree tree;
    tree.declining = {token::w::p};
    // An empty child gets start and end; its parent decides about attributes.
    EXPECT_EQ(run("<w:body><w:p w:rsidR=\"1\"><w:br w:type=\"page\"/><w:r w:rsidR=\"2\"><w:tab w:val=\"x\"/></w:r>"
                  "</w:p></w:body>",
                  tree),
              "<body><p><br></br><r rsidR=2><tab val=x></tab></r></p></body>");
}

TEST(HLHandlerBuilder, MixedContentAndMarkupBetweenRuns)
{
    // Text after a child's end tag, or after an empty child, is dropped.
    EXPECT_EQ(run("<w:t>ab<w:br/>cd</w:t>"), "<t>[ab]<br></br></t>");
    EXPECT_EQ(run("<w:p>ab<w:r>x</w:r>cd</w:p>"), "<p>[ab]<r>[x]</r></p>");
    // Comments and instructions leave the last tag as it was.
    EXPECT_EQ(run("<w:t>a<!-- c -->b<?pi x?>c</w:t>"), "<t>[a][b][c]</t>");
    EXPECT_EQ(run("<w:t><![CDATA[x &amp; <y>]]></w:t>"), "<t>[x &amp; <y>]</t>");
    EXPECT_EQ(run("<w:t>a &nbsp; b</w:t>"), "<t>[]</t>");
}

TEST(HLHandlerBuilder, EndTagsCloseTheTopWhateverTheirName)
{
    // An unknown end tag pops nothing; a known one closes the element on top.
    EXPECT_EQ(run("<w:p><w:r>x</foo>y</w:r>z</w:p>"), "<p><r>[x]</r></p>");
    EXPECT_EQ(run("<w:p><w:r>x</w:t>y</w:p>"), "<p><r>[x]</t></p>");
    EXPECT_EQ(run("<w:p></w:p></w:p></w:p><w:r>x</w:r>"), "<p></p></p></p><r>[x]</r>");
    EXPECT_EQ(run("<w:p><w:r><w:t>unbalanced"), "<p><r><t>");
}

TEST(HLHandlerBuilder, MalformedTagsRaiseTheGbkError)
{
    Tree tree;
    Node root(tree);
    HLHandlerBuilder builder(&root, Vocabulary::WordProcessing);
    const std::string bad = "<!x>";
    try {
        builder.acceptTag(bad.c_str(), bad.size(), 0, 3);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "\xD2\xE2\xCD\xE2\xB4\xED\xCE\xF3:<!x>");
    }
    const std::string text = "x>";
    EXPECT_THROW(builder.acceptTag(text.c_str(), text.size(), 0, 1), std::runtime_error);
    // Out-of-range ends are cut to the buffer in the message.
    try {
        builder.acceptTag(text.c_str(), text.size(), 0, 50);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "\xD2\xE2\xCD\xE2\xB4\xED\xCE\xF3:x>");
    }
    // The scanner itself never hands over such pieces; nameless tags are unknown.
    EXPECT_EQ(run("<w:p><>x</ ><w:t>z</w:t></w:p>"), "<p><t>[z]</t></p>");
}

TEST(HLHandlerBuilder, ParentsHoldOnlyTheirLatestChild)
{
    {
        Tree tree;
        Node root(tree);
        HLHandlerBuilder builder(&root, Vocabulary::WordProcessing);
        XmlTagScanner scanner(builder);
        const std::string xml = "<w:body><w:p><w:r/><w:r/></w:p><w:p><w:r/><w:r/><w:r/></w:p><w:p/></w:body>";
        MemoryByteSource source(xml.data(), xml.size());
        scanner.scan(source);
        // The root handler took body; it holds the last p, which holds nothing.
        EXPECT_EQ(liveNodes, 2);
    }
    EXPECT_EQ(liveNodes, 0);
    {
        // A chain far deeper than any stack could unwind recursively.
        Tree tree;
        Node root(tree);
        root.grow(1000000);
        EXPECT_EQ(liveNodes, 1000001);
    }
    EXPECT_EQ(liveNodes, 0);
}

TEST(HLHandlerBuilder, DeepNestingNeitherRecursesNorGrowsWithoutBound)
{
    const int depth = 200000;
    std::string xml;
    for (int i = 0; i < depth; ++i)
        xml += "<w:p>";
    xml += "<w:t>deep</w:t>";
    for (int i = 0; i < depth; ++i)
        xml += "</w:p>";
    xml += "<w:r>after</w:r>";
    Tree tree;
    const std::string log = run(xml, tree);
    EXPECT_EQ(log.find("deep"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 14), "<r>[after]</r>");
    EXPECT_EQ(liveNodes, 0);

    // Unknown elements nested a million deep are skipped by a counter.
    std::string unknown = "<w:p>";
    for (int i = 0; i < 1000000; ++i)
        unknown += "<x>";
    unknown += "lost";
    for (int i = 0; i < 1000000; ++i)
        unknown += "</x>";
    unknown += "kept</w:p>";
    EXPECT_EQ(run(unknown), "<p></p>");
}
