#include "ooxml/PptxTextBody.h"

#include "ooxml/PptxExtractContext.h"
#include "output/TextSink.h"
#include "package/NameTokens.h"

namespace quillet {
namespace {

class SlideRHandler : public DefaultElementHandler {
public:
    SlideRHandler(TextSink* sink, PptxExtractContext* context, TextBodyState* body)
        : sink_(sink), context_(context), body_(body)
    {
    }
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::a::t ? adoptChild<PptxValueHandler>(sink_, context_, body_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    PptxExtractContext* context_;
    TextBodyState* body_;
};

class SlidePHandler : public DefaultElementHandler {
public:
    SlidePHandler(TextSink* sink, PptxExtractContext* context, TextBodyState* body)
        : sink_(sink), context_(context), body_(body)
    {
    }
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::a::r)
            return adoptChild<SlideRHandler>(sink_, context_, body_);
        if (token == token::a::br)
            body_->oweBreak();
        return nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    PptxExtractContext* context_;
    TextBodyState* body_;
};

}  // namespace

void PptxValueHandler::characters(const std::string& text)
{
    if (text.empty())
        return;
    if (body_ != nullptr) {
        if (body_->wroteText) {
            for (; body_->owedBreaks > 0; --body_->owedBreaks)
                sink_->appendUtf8("\n", 1);
        }
        body_->owedBreaks = 0;
        body_->wroteText = true;
    }
    if (context_->pendingTab) {
        sink_->appendUtf8("\t", 1);
        context_->pendingTab = 0;
    }
    sink_->appendUtf8(text);
}

TxbodyHandler::TxbodyHandler(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context)
{
    context_->pendingTab = 1;
}

ElementHandler* TxbodyHandler::getChildHandler(int token)
{
    if (token != token::a::p)
        return nullptr;
    if (hadParagraph_)
        body_.oweBreak();
    hadParagraph_ = true;
    return adoptChild<SlidePHandler>(sink_, context_, &body_);
}

}  // namespace quillet
