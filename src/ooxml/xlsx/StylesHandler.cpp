#include "ooxml/xlsx/StylesHandler.h"

#include "ooxml/xlsx/XlsxExtractContext.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class NumberFormatHandler : public DefaultElementHandler {
public:
    explicit NumberFormatHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        context_->formats.addFormat(leadingNumber(attributes.text(token::sml::numFmtId)),
                                    attributes.text(token::sml::formatCode));
    }

private:
    XlsxExtractContext* context_;
};

class CellStyleHandler : public DefaultElementHandler {
public:
    explicit CellStyleHandler(XlsxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        context_->formats.addStyle(leadingNumber(attributes.text(token::sml::numFmtId)));
    }

private:
    XlsxExtractContext* context_;
};

template <int Child, class Handler>
class ListHandler : public DefaultElementHandler {
public:
    explicit ListHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == Child ? adoptChild<Handler>(context_) : nullptr;
    }

private:
    XlsxExtractContext* context_;
};

}  // namespace

ElementHandler* StylesHandler::getChildHandler(int token)
{
    if (token == token::sml::numFmts)
        return adoptChild<ListHandler<token::sml::numFmt, NumberFormatHandler>>(context_);
    if (token == token::sml::cellXfs)
        return adoptChild<ListHandler<token::sml::xf, CellStyleHandler>>(context_);
    return nullptr;
}

unsigned leadingNumber(const std::string& text)
{
    unsigned value = 0;
    for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000000)
            return 0;
        value = value * 10 + unsigned(text[i] - '0');
    }
    return value;
}

}  // namespace quillet
