// The tag scanner, and the token and name drivers that feed handlers from it.
#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/NameHandlerDriver.h"

#include "package/ByteSource.h"
#include "package/xml/NameTokens.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace quillet;

namespace {

// Logs tags as T{...} and text runs as X{...}, or x{...} when not to be decoded.
class Recorder : public XmlEventReceiver {
public:
    void acceptTag(const char* buffer, size_t length, size_t begin, size_t end) override
    {
        EXPECT_TRUE(end < length && buffer[length] == '\0');
        log += "T{" + std::string(buffer + begin, buffer + end + 1) + "}";
    }
    void acceptText(const char* buffer, size_t length, size_t begin, size_t end, bool decode) override
    {
        EXPECT_TRUE(end < length && buffer[length] == '\0');
        log += (decode ? "X{" : "x{") + std::string(buffer + begin, buffer + end + 1) + "}";
    }
    std::string log;
};

std::string scanned(const std::string& xml, size_t pieceSize = 0)
{
    Recorder recorder;
    MemoryByteSource source(xml.data(), xml.size(), pieceSize);
    XmlTagScanner(recorder).scan(source);
    return recorder.log;
}

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
        // Markup between runs keeps the last tag; CDATA is not decoded; an unknown entity stays as written.
        {"<w:t>a<!-- c -->b<?pi?>c<![CDATA[&amp;<y>]]></w:t><w:t>a &nbsp; b</w:t>",
         "<t>[a][b][c][&amp;<y>]</t><t>[a &nbsp; b]</t>"},
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

TEST(XmlTagScanner, CutsTheSamePiecesHoweverTheReadsSplitThem)
{
    const std::pair<std::string, std::string> cases[] = {
        // Text after the last tag has no end and is not delivered.
        {"<?xml version=\"1.0\"?>\r\n<a x=\"1\"><b>t</b><c/>tail</a>trailing",
         "X{\r\n}T{<a x=\"1\">}T{<b>}X{t}T{</b>}T{<c/>}X{tail}T{</a>}"},
        // Quoted ">" does not end a tag; each quote kind is plain text inside the other.
        {"<a x=\"1>2\" y='say \"hi\" >' z=\"it's\">t</a>", "T{<a x=\"1>2\" y='say \"hi\" >' z=\"it's\">}X{t}T{</a>}"},
        // Reads of 5 bytes end right after the "<" of the comment and of the instruction.
        {"<a>x<!-- c > -->y</a>", "T{<a>}X{x}X{y}T{</a>}"},
        {"<a>x<?p?>z</a>", "T{<a>}X{x}X{z}T{</a>}"},
        // An instruction ends at its first ">"; any other declaration is never closed.
        {"<!DOCTYPE html><?pi?><a/><?x a > b ?><b/><!ELEMENT a ANY><c>lost</c>", "T{<a/>}X{ b ?>}T{<b/>}"},
        // A document type's internal subset, its quotes and comments hold ">" and "]" freely.
        {"<!DOCTYPE a SYSTEM \"x>]\" [<!ENTITY e 'b>'><!-- ]> ' --><!ENTITY f \"[\">]><a>t&e;</a>",
         "T{<a>}X{t&e;}T{</a>}"},
        {"<a><![CDATA[<b> &amp; ]]]]></a>", "T{<a>}x{<b> &amp; ]]}T{</a>}"},
        // The empty comment and the empty CDATA section end at their own ">"; "<!-->" does not.
        {"<a>1<!---->2<![CDATA[]]>3<!-->4-->5</a>", "T{<a>}X{1}X{2}X{3}X{5}T{</a>}"},
        // UTF-16: the zero bytes end the part before any piece is complete.
        {std::string("<\0a\0>\0x\0<\0/\0a\0>\0", 16), ""}};
    for (const auto& [xml, expected] : cases) {
        for (size_t piece = 0; piece <= xml.size(); ++piece)
            EXPECT_EQ(scanned(xml, piece), expected) << xml << " in reads of " << piece;
    }
    EXPECT_EQ(scanned(std::string("<a>x</a><b>y\0</b>", 18), 9), "T{<a>}X{x}T{</a>}");
}

TEST(XmlTagScanner, PiecesOverOneMebibyteEndThePart)
{
    const std::string huge(XmlTagScanner::kPieceLimit, 'v'), large(XmlTagScanner::kPieceLimit - 9, 'v');
    for (const std::string& piece : {"<b v='" + huge + "'/>", huge, "<!--" + huge + "-->", "<![CDATA[" + huge + "]]>"})
        EXPECT_TRUE(scanned("<a>x</a>" + piece + "<c/>") == "T{<a>}X{x}T{</a>}");
    // An unclosed quote swallows up to the limit; up to it is fine, whatever the buffer held before.
    EXPECT_TRUE(scanned("<a x=\"1>" + huge + "<b/>").empty());
    EXPECT_TRUE(scanned("<a>x</a><b v=\"" + large + "\"/>") == "T{<a>}X{x}T{</a>}T{<b v=\"" + large + "\"/>}");
}

namespace {

// A cell and its value, as in a worksheet: the cell handler is rebuilt in
// place for every cell; the value handler it made for the cell before must be
// rebuilt too, not made anew, and must still see its own cell.
class ValueNode : public DefaultElementHandler {
public:
    ValueNode(std::string* log, const int* cell) noexcept : log_(log), cell_(cell) {}
    void characters(const std::string& text) override { *log_ += std::to_string(*cell_) + "=" + text + ";"; }

private:
    std::string* log_;
    const int* cell_;
};

class CellNode : public DefaultElementHandler {
public:
    CellNode(std::string* log, std::set<const void*>* values, int number) noexcept
        : log_(log), values_(values), number_(number)
    {
    }
    ElementHandler* getChildHandler(int) override
    {
        ValueNode* value = adoptChild<ValueNode>(log_, &number_);
        values_->insert(value);
        return value;
    }

private:
    std::string* log_;
    std::set<const void*>* values_;
    int number_;
};

class RowNode : public DefaultElementHandler {
public:
    RowNode(std::string* log, std::set<const void*>* values) : log_(log), values_(values) {}
    ElementHandler* getChildHandler(int) override { return adoptChild<CellNode>(log_, values_, ++cells_); }

private:
    std::string* log_;
    std::set<const void*>* values_;
    int cells_ = 0;
};

}  // namespace

TEST(TokenHandlerDriver, RebuiltHandlersRebuildTheirChildrenInPlace)
{
    std::string log;
    std::set<const void*> values;
    RowNode root(&log, &values);
    TokenHandlerDriver builder(&root, Vocabulary::Spreadsheet);
    const std::string xml = "<row>" + repeat("<c><v>x</v></c>", 3) + "<c/><c><v>y</v></c></row>";
    MemoryByteSource source(xml.data(), xml.size(), 0);
    XmlTagScanner(builder).scan(source);
    EXPECT_EQ(log, "1=x;2=x;3=x;5=y;");
    // One address: under ASan, which never hands a freed block straight back,
    // value handlers made anew would each have their own.
    EXPECT_EQ(values.size(), 1u);
}
