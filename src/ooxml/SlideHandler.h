#pragma once

#include "package/ElementHandler.h"

namespace quillet {

class TextSink;
struct PptxExtractContext;

// Root of a slide part: the text bodies of shapes, of shapes in groups and of
// table cells in graphic frames.
class SlideHandler : public DefaultElementHandler {
public:
    SlideHandler(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    TextSink* sink_;
    PptxExtractContext* context_;
};

// Root of a notes part: the text bodies of the shapes directly in its tree.
class NodesHandler : public DefaultElementHandler {
public:
    NodesHandler(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    TextSink* sink_;
    PptxExtractContext* context_;
};

}  // namespace quillet
