#pragma once

#include "package/ElementHandler.h"

#include <string>

namespace quillet {

class TextSink;
struct PptxExtractContext;

// What one text body has written: line breaks between its paragraphs, and
// from a:br, are owed until its next text, so that a body neither starts nor
// ends with one.
struct TextBodyState {
    void oweBreak()
    {
        if (owedBreaks < kMaxOwedBreaks)
            ++owedBreaks;
    }
    // Blank lines beyond this many say nothing more.
    static constexpr int kMaxOwedBreaks = 64;

    bool wroteText = false;
    int owedBreaks = 0;
};

// The text of a:t, and of a comment's p:text (without a body).
class PptxValueHandler : public DefaultElementHandler {
public:
    PptxValueHandler(TextSink* sink, PptxExtractContext* context, TextBodyState* body)
        : sink_(sink), context_(context), body_(body)
    {
    }
    void characters(const std::string& text) override;
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    PptxExtractContext* context_;
    TextBodyState* body_;
};

// p:txBody or a:txBody: raises the pending tab when created; paragraphs a:p
// with runs a:r of text a:t.
class TxbodyHandler : public DefaultElementHandler {
public:
    TxbodyHandler(TextSink* sink, PptxExtractContext* context);
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    PptxExtractContext* context_;
    TextBodyState body_;
    bool hadParagraph_ = false;
};

// The text body of a notes shape.
class NodeTxbodyHandler : public TxbodyHandler {
public:
    using TxbodyHandler::TxbodyHandler;
};

}  // namespace quillet
