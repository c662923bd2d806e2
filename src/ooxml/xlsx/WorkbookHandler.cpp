#include "ooxml/xlsx/WorkbookHandler.h"

#include "ooxml/xlsx/XlsxExtractContext.h"
#include "package/MemoryBudget.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class SheetEntryHandler : public DefaultElementHandler {
public:
    explicit SheetEntryHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        SheetRecord sheet{attributes.text(token::sml::sheetId), attributes.text(token::r::id),
                          attributes.text(token::sml::name)};
        if (context_->budget != nullptr)
            context_->budget->charge(MemoryBudget::inVector(sizeof(SheetRecord)) + sheet.sheetId.size() +
                                     sheet.relationshipId.size() + sheet.name.size());
        context_->sheets.push_back(std::move(sheet));
    }

private:
    XlsxExtractContext* context_;
};

class WorksheetsHandler : public DefaultElementHandler {
public:
    explicit WorksheetsHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::sheet ? adoptChild<SheetEntryHandler>(context_) : nullptr;
    }

private:
    XlsxExtractContext* context_;
};

// The date system: date1904 "1" or "true" counts days from 1904-01-01.
class WorkbookPropertiesHandler : public DefaultElementHandler {
public:
    explicit WorkbookPropertiesHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        const std::string value = attributes.text(token::sml::date1904);
        context_->formats.setDate1904(value == "1" || value == "true");
    }

private:
    XlsxExtractContext* context_;
};

}  // namespace

ElementHandler* WorkbookHandler::getChildHandler(int token)
{
    if (token == token::sml::workbookPr)
        return adoptChild<WorkbookPropertiesHandler>(context_);
    return token == token::sml::sheets ? adoptChild<WorksheetsHandler>(context_) : nullptr;
}

}  // namespace quillet
