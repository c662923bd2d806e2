#include "ooxml/pptx/PptxCommentListHandler.h"

#include "ooxml/pptx/PptxTextBody.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

// A comment's text stands in no text body.
class PptxCommentHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    // Each comment is a value of its own, after a tab as a shape's text is:
    // run together, comments and the notes before them would garble words.
    void startElement(int, const AttributeList&) override { context_->pendingTab = 1; }
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::p::text ? adoptChild<PptxValueHandler>(sink_, context_, nullptr) : nullptr;
    }
};

}  // namespace

ElementHandler* PptxCommentListHandler::getChildHandler(int token)
{
    return token == token::p::cm ? child<PptxCommentHandler>() : nullptr;
}

}  // namespace quillet
