#include "package/XmlTagScanner.h"

#include "package/ByteSource.h"
#include "package/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quillet;
using namespace quillet::test;

namespace {

// Writes every piece as T{tag} or X{text} (x{text} when not to be decoded).
class Recorder : public HLInnerAccepter {
public:
    void acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd) override
    {
        EXPECT_LT(tagEnd, length);
        EXPECT_EQ(buffer[length], '\0');
        log += "T{" + std::string(buffer + tagBegin, buffer + tagEnd + 1) + "}";
    }
    void acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd, bool decode) override
    {
        EXPECT_LT(textEnd, length);
        log += std::string(decode ? "X{" : "x{") + std::string(buffer + textBegin, buffer + textEnd + 1) + "}";
    }
    std::string log;
};

std::string scanned(const std::string& xml, size_t pieceSize = 0)
{
    Recorder recorder;
    MemoryByteSource source(xml.data(), xml.size(), pieceSize);
    XmlTagScanner scanner(recorder);
    scanner.scan(source);
    return recorder.log;
}

// Fails after handing out its bytes.
class FailingSource : public ByteSource {
public:
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {}
    int read(char* buffer, int count) override
    {
        if (done_)
            return -3;
        done_ = true;
        const size_t take = std::min(bytes_.size(), static_cast<size_t>(count));
        std::memcpy(buffer, bytes_.data(), take);
        return static_cast<int>(take);
    }

private:
    std::string bytes_;
    bool done_ = false;
};

}  // namespace

TEST(XmlTagScanner, CutsTagsAndTextRuns)
{
    EXPECT_EQ(scanned("<?xml version=\"1.0\"?>\r\n<a x=\"1\"><b>text</b><c/>tail</a>"),
              "X{\r\n}T{<a x=\"1\">}T{<b>}X{text}T{</b>}T{<c/>}X{tail}T{</a>}");
    // Quoted ">" does not end a tag; each quote kind is plain text inside the other.
    EXPECT_EQ(scanned("<a x=\"1>2\" y='say \"hi\" >'>t</a>"), "T{<a x=\"1>2\" y='say \"hi\" >'>}X{t}T{</a>}");
    EXPECT_EQ(scanned("<a x=\"it's\">t</a>"), "T{<a x=\"it's\">}X{t}T{</a>}");
    // Text after the last tag has no end and is not delivered.
    EXPECT_EQ(scanned("<a/>trailing"), "T{<a/>}");
    EXPECT_EQ(scanned(""), "");
}

TEST(XmlTagScanner, DropsMarkupDeclarationsAndDeliversCdata)
{
    EXPECT_EQ(scanned("<a>one<!-- a > b -->two</a>"), "T{<a>}X{one}X{two}T{</a>}");
    EXPECT_EQ(scanned("<!DOCTYPE html><a>x</a>"), "T{<a>}X{x}T{</a>}");
    // An instruction ends at its first ">".
    EXPECT_EQ(scanned("<?pi?><a/><?x a > b ?><b/>"), "T{<a/>}X{ b ?>}T{<b/>}");
    EXPECT_EQ(scanned("<a><![CDATA[<b> &amp; ]]></a>"), "T{<a>}x{<b> &amp; }T{</a>}");
    EXPECT_EQ(scanned("<a><![CDATA[x]]]]></a>"), "T{<a>}x{x]]}T{</a>}");
    // The empty comment and the empty CDATA section end at their own ">".
    EXPECT_EQ(scanned("<a>1<!---->2<!--x-->3</a>"), "T{<a>}X{1}X{2}X{3}T{</a>}");
    EXPECT_EQ(scanned("<a>1<![CDATA[]]>2<![CDATA[y]]>3</a>"), "T{<a>}X{1}X{2}x{y}X{3}T{</a>}");
    // Too short to be complete: "<!-->" and "<!--->" continue to the next "-->".
    EXPECT_EQ(scanned("<a>1<!-->2-->3</a>"), "T{<a>}X{1}X{3}T{</a>}");
    // Any other declaration is never closed: the rest of the part goes.
    EXPECT_EQ(scanned("<a>1<!ELEMENT a ANY><b>lost</b></a>"), "T{<a>}X{1}");
}

TEST(XmlTagScanner, DeliversEveryPieceWholeHoweverTheReadsSplitIt)
{
    const std::string xml =
        "<?xml version=\"1.0\"?><w:document a='x>y' b=\"q'q\"><w:p><w:t xml:space=\"preserve\">A &amp; B</w:t>"
        "<!-- note > --><w:t><![CDATA[<raw>]]></w:t><w:br/></w:p><!----><w:p>last</w:p></w:document>";
    const std::string whole = scanned(xml);
    ASSERT_EQ(whole,
              "T{<w:document a='x>y' b=\"q'q\">}T{<w:p>}T{<w:t xml:space=\"preserve\">}X{A &amp; B}T{</w:t>}"
              "T{<w:t>}x{<raw>}T{</w:t>}T{<w:br/>}T{</w:p>}T{<w:p>}X{last}T{</w:p>}T{</w:document>}");
    for (size_t piece = 1; piece <= xml.size(); ++piece)
        EXPECT_EQ(scanned(xml, piece), whole) << "pieces of " << piece;
    // A read that ends right after "<": the next byte decides what follows,
    // so a comment or instruction is never taken for a tag.
    EXPECT_EQ(scanned("<a>x<!-- c -->y<?p?>z</a>", 5), "T{<a>}X{x}X{y}X{z}T{</a>}");
    EXPECT_EQ(scanned("<a>x<?p?>z</a>", 5), "T{<a>}X{x}X{z}T{</a>}");
}

TEST(XmlTagScanner, TagsAcrossTheEightKilobyteReadsOfAnEntry)
{
    TempDir dir;
    // Long tags and text runs that straddle the 8192-byte reads and make the
    // buffer grow, stored in a deflated entry.
    std::string xml = "<root>";
    std::string expected = "T{<root>}";
    for (int i = 0; i < 400; ++i) {
        const std::string tag = "<item n=\"" + std::to_string(i) + "\" pad='" + std::string(size_t(i) * 37 % 9000, '>') + "'>";
        const std::string text = std::string(size_t(i) * 53 % 12000, 't');
        xml += tag + text + "</item>";
        expected += "T{" + tag + "}" + (text.empty() ? "" : "X{" + text + "}") + "T{</item>}";
    }
    xml += "</root>";
    expected += "T{</root>}";
    ZipBuilder().add("part.xml", xml).write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));
    Recorder recorder;
    XmlTagScanner scanner(recorder);
    scanner.scan(archive, "part.xml");
    EXPECT_EQ(recorder.log, expected);

    Recorder none;
    XmlTagScanner missing(none);
    missing.scan(archive, "other.xml");
    EXPECT_EQ(none.log, "");
}

TEST(XmlTagScanner, EndsThePartOnOversizedPiecesZeroBytesAndReadErrors)
{
    const std::string huge(XmlTagScanner::kPieceLimit, 'v');
    const std::string head = "T{<a>}X{x}T{</a>}";
    EXPECT_TRUE(scanned("<a>x</a><b v=\"" + huge + "\"/><c/>") == head);
    EXPECT_TRUE(scanned("<a>x</a>" + huge + "<c/>") == head);
    EXPECT_TRUE(scanned("<a>x</a><!--" + huge + "--><c/>") == head);
    EXPECT_TRUE(scanned("<a>x</a><![CDATA[" + huge + "]]><c/>") == head);
    // An unclosed quote swallows up to the limit, then the part ends.
    EXPECT_TRUE(scanned("<a x=\"1>" + huge + "<b/>").empty());
    // Pieces up to the limit are fine, whatever the buffer held before them.
    const std::string large(XmlTagScanner::kPieceLimit - 9, 'v');
    EXPECT_TRUE(scanned("<a>x</a><b v=\"" + large + "\"/><c/>") == head + "T{<b v=\"" + large + "\"/>}T{<c/>}");
    EXPECT_TRUE(scanned("<a>" + large.substr(1) + "</a>") == "T{<a>}X{" + large.substr(1) + "}T{</a>}");

    // UTF-16: zero bytes in the first read give nothing.
    const std::string utf16("<\0a\0>\0x\0<\0/\0a\0>\0", 16);
    EXPECT_EQ(scanned(utf16), "");
    EXPECT_EQ(scanned(std::string("<a>x</a><b>y\0</b>", 18), 9), "T{<a>}X{x}T{</a>}");

    Recorder recorder;
    FailingSource failing("<a>x</a><b>unfinished");
    XmlTagScanner scanner(recorder);
    scanner.scan(failing);
    EXPECT_EQ(recorder.log, "T{<a>}X{x}T{</a>}T{<b>}");
}
