#include "package/xml/XmlTagScanner.h"

#include "package/ByteSource.h"

#include <gtest/gtest.h>

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

}  // namespace

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
