#pragma once

#include "package/ElementHandler.h"

namespace quillet {

class TextSink;
struct PptxExtractContext;

// Root of a slide's comments part: the text of every p:cm, run together.
class PptxCommentListHandler : public DefaultElementHandler {
public:
    PptxCommentListHandler(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    TextSink* sink_;
    PptxExtractContext* context_;
};

}  // namespace quillet
