#include "ooxml/xlsx/SheetDrawingHandler.h"

#include "output/TextSink.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class RunTextHandler : public DefaultElementHandler {
public:
    explicit RunTextHandler(std::string* paragraph) noexcept : paragraph_(paragraph) {}
    void characters(const std::string& text) override { *paragraph_ += text; }
    bool declinesAttributes() const override { return true; }

private:
    std::string* paragraph_;
};

// Any element inside a paragraph: runs, fields, hyperlinks and what they hold.
class InParagraphHandler : public DefaultElementHandler {
public:
    explicit InParagraphHandler(std::string* paragraph) noexcept : paragraph_(paragraph) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::a::t)
            return adoptChild<RunTextHandler>(paragraph_);
        return adoptChild<InParagraphHandler>(paragraph_);
    }
    bool declinesAttributes() const override { return true; }

protected:
    std::string* paragraph_;
};

class ParagraphHandler : public InParagraphHandler {
public:
    ParagraphHandler(TextSink* sink, std::string* paragraph) noexcept : InParagraphHandler(paragraph), sink_(sink)
    {
        paragraph->clear();
    }
    void endElement(int) override
    {
        if (paragraph_->empty())
            return;
        sink_->appendUtf8("\n\t", 2);
        sink_->appendUtf8(*paragraph_);
    }

private:
    TextSink* sink_;
};

}  // namespace

ElementHandler* SheetDrawingHandler::getChildHandler(int token)
{
    if (token == token::a::p)
        return adoptChild<ParagraphHandler>(sink_, &paragraph_);
    return adoptChild<SheetDrawingHandler>(sink_);
}

}  // namespace quillet
