// One XML part through the tag scanner and both builders. The first byte
// picks the vocabulary and how the reads split the part; the handler tree
// takes most known elements, declines the attributes of some, and reads
// every attribute it is given.
#include "package/ByteSource.h"
#include "package/xml/AttributeList.h"
#include "package/xml/ElementHandler.h"
#include "package/xml/NameHandlerDriver.h"
#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/XmlTagScanner.h"
#include "package/xml/XmlText.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using namespace quillet;

class FuzzHandler : public DefaultElementHandler {
public:
    FuzzHandler(size_t& sum, bool declines) : sum_(sum), declines_(declines) {}

    void startElement(int token, const AttributeList& attributes) override
    {
        sum_ += static_cast<size_t>(token);
        std::string value;
        for (int i = 0; i < attributes.count(); ++i) {
            attributes.at(i)->toString(value);
            sum_ += value.size();
        }
        if (const AttributeValue* found = attributes.find(token))
            found->toString(value);
    }
    void endElement(int token) override { sum_ -= static_cast<size_t>(token); }
    void characters(const std::string& text) override { sum_ += text.size(); }
    ElementHandler* getChildHandler(int token) override
    {
        if (token % 5 == 0)
            return nullptr;
        return adoptChild<FuzzHandler>(sum_, token % 7 == 0);
    }
    bool declinesAttributes() const override { return declines_; }

private:
    size_t& sum_;
    bool declines_;
};

class FuzzStrHandler : public DefaultElementStrHandler {
public:
    void attribute(const std::string& name, const std::string& value) override { sum += name.size() + value.size(); }
    void characters(const std::string& text) override { sum += text.size(); }
    ElementStrHandler* getChildHandler(const std::string& name) override
    {
        return name.size() % 3 == 0 ? nullptr : this;
    }
    size_t sum = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const Vocabulary vocabulary = static_cast<Vocabulary>(data[0] % 3);
    const size_t pieceSize = data[0] >> 2;  // 0: whole reads
    const char* xml = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;

    size_t sum = 0;
    FuzzHandler root(sum, false);
    TokenHandlerDriver builder(&root, vocabulary);
    XmlTagScanner scanner(builder);
    MemoryByteSource source(xml, length, pieceSize);
    scanner.scan(source);

    FuzzStrHandler strRoot;
    NameHandlerDriver strBuilder(&strRoot);
    XmlTagScanner strScanner(strBuilder);
    MemoryByteSource strSource(xml, length, pieceSize);
    try {
        strScanner.scan(strSource);
    } catch (const std::runtime_error& error) {
        // Nameless tags are the only malformation the name flavour raises.
        if (std::strcmp(error.what(), "IllegalStateException") != 0)
            __builtin_trap();
    }

    if (length > 0)
        decodeXmlText(xml, length, 0, length - 1, true);
    return 0;
}
