#include "ooxml/pptx/PptxTextBody.h"

#include "output/TextSink.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

namespace quillet {
namespace {

using SlideRHandler = OneChildHandler<TextBodyPartHandler, token::a::t, PptxValueHandler>;

class SlidePHandler : public TextBodyPartHandler {
public:
    using TextBodyPartHandler::TextBodyPartHandler;
    ElementHandler* getChildHandler(int token) override
    {
        // A field (slide number, date) shows its last text like a run.
        if (token == token::a::r || token == token::a::fld)
            return child<SlideRHandler>();
        if (token == token::a::br)
            body_->oweBreak();
        return nullptr;
    }
};

}  // namespace

void PptxValueHandler::characters(const std::string& text)
{
    if (text.empty())
        return;
    if (body_ != nullptr) {
        if (body_->wroteText) {
            for (; body_->owedBreaks > 0; --body_->owedBreaks)
                append("\n", 1);
        }
        body_->owedBreaks = 0;
        body_->wroteText = true;
    }
    if (context_->pendingTab) {
        append("\t", 1);
        context_->pendingTab = 0;
    }
    append(text);
}

TxbodyHandler::TxbodyHandler(TextSink* sink, PptxExtractContext* context) : PptxHandler(sink, context)
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
