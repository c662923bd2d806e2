#include "ooxml/PptxCommentListHandler.h"

#include "ooxml/PptxTextBody.h"
#include "package/NameTokens.h"

namespace quillet {
namespace {

class PptxCommentHandler : public DefaultElementHandler {
public:
    PptxCommentHandler(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::p::text ? adoptChild<PptxValueHandler>(sink_, context_, nullptr) : nullptr;
    }

private:
    TextSink* sink_;
    PptxExtractContext* context_;
};

}  // namespace

ElementHandler* PptxCommentListHandler::getChildHandler(int token)
{
    return token == token::p::cm ? adoptChild<PptxCommentHandler>(sink_, context_) : nullptr;
}

}  // namespace quillet
