#pragma once

// The building blocks of the drawing-part trees (ShapeXmlHandler,
// E2oDocXmlHandler): each handler follows exactly one child element, and the
// run text at the end of the chain goes to the sink.

#include "package/ElementHandler.h"

#include <string>

namespace quillet {

class TextSink;

// Strict UTF-8 to UTF-16: false, with out left empty, for overlong forms,
// surrogates, values above U+10FFFF and cut sequences.
bool strictUtf8ToUtf16(const std::string& utf8, std::u16string& out);

// One run: its text as UTF-16 (nothing when it is not UTF-8), then ";".
void appendDrawingRun(TextSink* sink, const std::string& utf8);

class DrawingValueHandler : public DefaultElementHandler {
public:
    explicit DrawingValueHandler(TextSink* sink) : sink_(sink) {}
    void characters(const std::string& text) override { appendDrawingRun(sink_, text); }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
};

template <int ChildToken, typename Child>
class DrawingChainHandler : public DefaultElementHandler {
public:
    explicit DrawingChainHandler(TextSink* sink) : sink_(sink) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == ChildToken ? adoptChild<Child>(sink_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
};

}  // namespace quillet
