#include "ooxml/pptx/PresentationHandler.h"

#include "ooxml/pptx/PptxExtractContext.h"
#include "package/MemoryBudget.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class SlideIdHandler : public DefaultElementHandler {
public:
    explicit SlideIdHandler(PptxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        if (attributes.find(token::r::id) == nullptr)
            return;
        std::string id = attributes.text(token::r::id);
        if (context_->budget != nullptr)
            context_->budget->charge(MemoryBudget::inVector(sizeof(std::string)) + id.size());
        context_->slideIds.push_back(std::move(id));
    }

private:
    PptxExtractContext* context_;
};

class SlidesHandler : public DefaultElementHandler {
public:
    explicit SlidesHandler(PptxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::p::sldId ? adoptChild<SlideIdHandler>(context_) : nullptr;
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
