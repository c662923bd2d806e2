#pragma once

#include "ooxml/pptx/PptxHandler.h"

#include <string>

namespace quillet {

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

// A handler inside one text body (none for a comment's text): its children
// share the body's state too.
class TextBodyPartHandler : public PptxHandler {
public:
    TextBodyPartHandler(TextSink* sink, PptxExtractContext* context, TextBodyState* body) noexcept
        : PptxHandler(sink, context), body_(body)
    {
    }
    bool declinesAttributes() const override { return true; }

protected:
    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(sink_, context_, body_);
    }

    TextBodyState* body_;
};

// The text of a:t, and of a comment's p:text.
class PptxValueHandler : public TextBodyPartHandler {
public:
    using TextBodyPartHandler::TextBodyPartHandler;
    void characters(const std::string& text) override;
};

// p:txBody or a:txBody: raises the pending tab when created; paragraphs a:p
// with runs a:r of text a:t.
class TxbodyHandler : public PptxHandler {
public:
    TxbodyHandler(TextSink* sink, PptxExtractContext* context);
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return true; }

private:
    TextBodyState body_;
    bool hadParagraph_ = false;
};

// The text body of a notes shape.
class NotesTxbodyHandler : public TxbodyHandler {
public:
    using TxbodyHandler::TxbodyHandler;
};

}  // namespace quillet
