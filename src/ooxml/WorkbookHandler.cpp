#include "ooxml/WorkbookHandler.h"

#include "ooxml/XlsxExtractContext.h"
#include "package/NameTokens.h"
#include "package/XmlRoAttr.h"

namespace quillet {
namespace {

class SheetRidHandler : public DefaultElementHandler {
public:
    explicit SheetRidHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const XmlRoAttrList& attributes) override
    {
        context_->sheets.push_back({attributes.text(token::sml::sheetId), attributes.text(token::r::id),
                                    attributes.text(token::sml::name)});
    }

private:
    XlsxExtractContext* context_;
};

class WorksheetsHandler : public DefaultElementHandler {
public:
    explicit WorksheetsHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::sheet ? adoptChild<SheetRidHandler>(context_) : nullptr;
    }

private:
    XlsxExtractContext* context_;
};

}  // namespace

ElementHandler* WorkbookHandler::getChildHandler(int token)
{
    return token == token::sml::sheets ? adoptChild<WorksheetsHandler>(context_) : nullptr;
}

}  // namespace quillet
