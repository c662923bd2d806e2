#include "package/HLStrHandlerBuilder.h"

#include "package/ByteSource.h"
#include "package/XmlTagScanner.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace quillet;

namespace {

// Logs every call; takes every child whose name does not start with "skip".
class Logger : public DefaultElementStrHandler {
public:
    explicit Logger(std::string& log) : log_(log) {}
    void startElement(const std::string& name) override { log_ += "<" + name + ">"; }
    void endElement(const std::string& name) override { log_ += "</" + name + ">"; }
    void attribute(const std::string& name, const std::string& value) override
    {
        log_ += "{" + name + "=" + value + "}";
    }
    void characters(const std::string& text) override { log_ += "[" + text + "]"; }
    ElementStrHandler* getChildHandler(const std::string& name) override
    {
        if (name.compare(0, 4, "skip") == 0)
            return nullptr;
        children_.push_back(std::make_unique<Logger>(log_));
        return children_.back().get();
    }

private:
    std::string& log_;
    std::vector<std::unique_ptr<Logger>> children_;
};

std::string run(const std::string& xml)
{
    std::string log;
    Logger root(log);
    HLStrHandlerBuilder builder(&root);
    XmlTagScanner scanner(builder);
    MemoryByteSource source(xml.data(), xml.size());
    scanner.scan(source);
    return log;
}

}  // namespace

TEST(HLStrHandlerBuilder, NamesAndAttributesAsWritten)
{
    EXPECT_EQ(run("<?xml version=\"1.0\"?><pr:Relationships xmlns:pr=\"u\"><pr:Relationship Id=\"rId1\" "
                  "Target=\"a&amp;b.xml\"/>\r\n<x:Other a='1'>t</x:Other></pr:Relationships>"),
              "<pr:Relationships>{xmlns:pr=u}<pr:Relationship>{Id=rId1}{Target=a&b.xml}</pr:Relationship>"
              "<x:Other>{a=1}[t]</x:Other></pr:Relationships>");
    // Malformed attributes are dropped; a space before "=" is allowed, after it not.
    EXPECT_EQ(run("<r a=1 b =\"2\" c= \"3\" d=\"4' e=''\"/>"), "<r>{b=2}{d=4' e=''}</r>");
    // Whitespace before ">" is no part of a name.
    EXPECT_EQ(run("<r><c\n/></r\n>"), "<r><c></c></r>");
}

TEST(HLStrHandlerBuilder, SkipsChildrenWithoutHandlers)
{
    // An empty element without a handler leaves no skipping behind.
    EXPECT_EQ(run("<r><skip a=\"1\"/><skipped/><c a=\"2\"/><skip><c>no</c>no</skip><c>yes</c></r>"),
              "<r><c>{a=2}</c><c>[yes]</c></r>");
    // The root is popped at its end; later tags go nowhere.
    EXPECT_EQ(run("<r/><c>x</c></r>"), "<r></r>");
    EXPECT_EQ(run("</stray><r><c/></r>"), "</stray><r><c></c></r>");
}

TEST(HLStrHandlerBuilder, NamelessTagsRaiseIllegalState)
{
    for (const char* xml : {"<r><></r>", "<r></></r>"}) {
        try {
            run(xml);
            FAIL() << xml;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "IllegalStateException");
        }
    }
    // Inside a skipped subtree tags are only counted.
    EXPECT_EQ(run("<r><skip><x></></x></skip><c/></r>"), "<r><c></c></r>");
}
