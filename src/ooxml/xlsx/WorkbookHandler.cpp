#include "ooxml/xlsx/WorkbookHandler.h"

#include "ooxml/xlsx/XlsxExtractContext.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class SheetRidHandler : public DefaultElementHandler {
public:
    explicit SheetRidHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        context_->sheets.push_back(
            {attributes.text(token::sml::sheetId), attributes.text(token::r::id), attributes.text(token::sml::name)});
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
