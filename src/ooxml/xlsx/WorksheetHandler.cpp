#include "ooxml/xlsx/WorksheetHandler.h"

#include "ooxml/xlsx/SharedStringsHandler.h"
#include "output/TextSink.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

constexpr uint32_t kTextAndExtras = 0x110;

// The text of a v element, or of a header or footer (type "").
class ValueHandler : public DefaultElementHandler {
public:
    ValueHandler(TextSink* sink, const std::string* type, XlsxExtractContext* context) noexcept
        : sink_(sink), type_(type), context_(context)
    {
    }
    void characters(const std::string& text) override
    {
        if (*type_ != "s") {
            sink_->appendUtf8(text);
            sink_->appendUtf8("\t", 1);
            return;
        }
        const long long index = sharedStringIndex(text);
        const std::vector<std::string>& strings = context_->sharedStrings;
        if (index < 0 || static_cast<unsigned long long>(index) >= strings.size())
            return;
        const std::string& value = strings[size_t(index)];
        if (value.empty())
            return;
        sink_->appendUtf8(value);
        sink_->appendUtf8("\t", 1);
    }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    const std::string* type_;
    XlsxExtractContext* context_;
};

// An inline string cell: its runs joined, then "\t" like any other value.
class InlineStrHandler : public StringItemHandler {
public:
    explicit InlineStrHandler(TextSink* sink) noexcept : StringItemHandler(&pieces_), sink_(sink) {}
    void endElement(int) override
    {
        const std::string text = joinedPieces();
        if (text.empty())
            return;
        sink_->appendUtf8(text);
        sink_->appendUtf8("\t", 1);
    }

private:
    std::vector<std::string> pieces_;
    TextSink* sink_;
};

class ColumnHandler : public XlsxHandler {
public:
    using XlsxHandler::XlsxHandler;
    void startElement(int, const AttributeList& attributes) override { type_ = attributes.text(token::sml::t); }
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::v)
            return adoptChild<ValueHandler>(sink_, &type_, context_);
        if (token == token::sml::is && type_ == "inlineStr")
            return adoptChild<InlineStrHandler>(sink_);
        return nullptr;
    }

private:
    std::string type_;
};

class RowHandler : public OneChildHandler<XlsxHandler, token::sml::c, ColumnHandler> {
public:
    using OneChildHandler::OneChildHandler;
    void endElement(int) override { append("\n\t", 2); }
    bool declinesAttributes() const override { return true; }
};

using SheetDataHandler = OneChildHandler<XlsxHandler, token::sml::row, RowHandler>;

class HeaderFooterHandler : public XlsxHandler {
public:
    using XlsxHandler::XlsxHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::oddHeader || token == token::sml::oddFooter)
            return adoptChild<ValueHandler>(sink_, &type_, context_);
        return nullptr;
    }

private:
    std::string type_;  // always empty: header and footer text is written as it stands
};

}  // namespace

ElementHandler* WorksheetHandler::getChildHandler(int token)
{
    if (token == token::sml::sheetData)
        return child<SheetDataHandler>();
    if (token == token::sml::headerFooter && (context_->flags & kTextAndExtras) == kTextAndExtras)
        return child<HeaderFooterHandler>();
    return nullptr;
}

long long sharedStringIndex(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > 0x7FFFFFFF)
            return -1;
    }
    return negative && value != 0 ? -1 : value;
}

}  // namespace quillet
