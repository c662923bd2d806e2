#include "ooxml/DocxHeaderHandler.h"

#include "package/NameTokens.h"

namespace quillet {
namespace {

namespace w = token::w;

class HeaderTHandler : public DefaultElementHandler {
public:
    HeaderTHandler(TextSink* sink, DocxExtractContext*) : sink_(sink) {}
    void characters(const std::string& text) override
    {
        sink_->appendUtf8(text);
        sink_->appendUtf8("\n", 1);
    }

private:
    TextSink* sink_;
};

class HeaderRHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == w::t ? child<HeaderTHandler>() : nullptr; }
};

class HeaderPHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == w::r ? child<HeaderRHandler>() : nullptr; }
};

}  // namespace

ElementHandler* DocxHeaderHandler::getChildHandler(int token)
{
    return token == w::p ? child<HeaderPHandler>() : nullptr;
}

}  // namespace quillet
