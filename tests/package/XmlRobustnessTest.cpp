// Every prefix and many single-byte changes of a realistic part, each in an
// allocation of its exact size so that AddressSanitizer sees any over-read.
#include "package/ByteSource.h"
#include "package/HLHandlerBuilder.h"
#include "package/HLStrHandlerBuilder.h"
#include "package/XmlTagScanner.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace quillet;

namespace {

const char kPart[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<!DOCTYPE w:document>"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" mc:Ignorable=\"w14\">"
    "<w:body><w:p w:rsidR=\"00A1\" w:rsidRDefault='00B2'><w:pPr><w:pStyle w:val=\"Title\"/></w:pPr>"
    "<w:r><w:t xml:space=\"preserve\">Tom &amp; Jerry &#x4E2D;&#25991; &lt;tag&gt; </w:t></w:r>"
    "<!-- a comment > with <tags> --><w:r><w:t><![CDATA[raw <b>&amp;</b>]]></w:t></w:r>"
    "<mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing/></mc:Choice>"
    "<mc:Fallback><w:pict><v:shape id=\"s1\" style='a:\"b\"'><v:textbox><w:txbxContent><w:p><w:r>"
    "<w:t>box</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback>"
    "</mc:AlternateContent><w:r><w:tab/><w:t>x &nbsp; y</w:t><w:br w:type=\"page\"/></w:r></w:p>"
    "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>cell</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
    "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";

class AcceptAll : public DefaultElementHandler {
public:
    explicit AcceptAll(size_t& calls) : calls_(calls) {}
    void startElement(int, const XmlRoAttrList& attributes) override { calls_ += size_t(attributes.count()) + 1; }
    void characters(const std::string& text) override { calls_ += text.size(); }
    ElementHandler* getChildHandler(int) override { return adoptChild<AcceptAll>(calls_); }

private:
    size_t& calls_;
};

class AcceptAllByName : public DefaultElementStrHandler {
public:
    ElementStrHandler* getChildHandler(const std::string&) override { return this; }
};

void runBoth(const std::vector<char>& bytes, size_t pieceSize)
{
    for (Vocabulary vocabulary : {Vocabulary::WordProcessing, Vocabulary::Spreadsheet, Vocabulary::Presentation}) {
        size_t calls = 0;
        AcceptAll root(calls);
        HLHandlerBuilder builder(&root, vocabulary);
        XmlTagScanner scanner(builder);
        MemoryByteSource source(bytes.data(), bytes.size(), pieceSize);
        scanner.scan(source);
    }
    AcceptAllByName root;
    HLStrHandlerBuilder builder(&root);
    XmlTagScanner scanner(builder);
    MemoryByteSource source(bytes.data(), bytes.size(), pieceSize);
    try {
        scanner.scan(source);
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "IllegalStateException");
    }
}

}  // namespace

TEST(XmlRobustness, EveryPrefixOfAPart)
{
    const std::string part = kPart;
    for (size_t size = 0; size <= part.size(); ++size) {
        const std::vector<char> bytes(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(size));
        runBoth(bytes, size % 7 + 1);
    }
}

TEST(XmlRobustness, SingleByteChanges)
{
    const std::string part = kPart;
    for (size_t at = 0; at < part.size(); ++at) {
        for (char replacement : {'<', '>', '"', '\'', '&', '/', ' ', '!', '?', ';', '\0'}) {
            std::vector<char> bytes(part.begin(), part.end());
            bytes[at] = replacement;
            runBoth(bytes, 0);
        }
    }
}
