#include "ooxml/PresentationHandler.h"

#include "ooxml/PptxExtractContext.h"
#include "package/NameTokens.h"
#include "package/XmlRoAttr.h"

namespace quillet {
namespace {

class SlideRidHandler : public DefaultElementHandler {
public:
    explicit SlideRidHandler(PptxExtractContext* context) : context_(context) {}
    void startElement(int, const XmlRoAttrList& attributes) override
    {
        if (attributes.find(token::r::id) != nullptr)
            context_->slideIds.push_back(attributes.text(token::r::id));
    }

private:
    PptxExtractContext* context_;
};

class SlidesHandler : public DefaultElementHandler {
public:
    explicit SlidesHandler(PptxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::p::sldId ? adoptChild<SlideRidHandler>(context_) : nullptr;
    }

private:
    PptxExtractContext* context_;
};

}  // namespace

ElementHandler* PresentationHandler::getChildHandler(int token)
{
    return token == token::p::sldIdLst ? adoptChild<SlidesHandler>(context_) : nullptr;
}

}  // namespace quillet
