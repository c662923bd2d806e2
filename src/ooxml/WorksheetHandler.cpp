#include "ooxml/WorksheetHandler.h"

#include "ooxml/SharedStrsHandler.h"
#include "ooxml/XlsxExtractContext.h"
#include "output/TextSink.h"
#include "package/NameTokens.h"
#include "package/XmlRoAttr.h"

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
class InlineStrHandler : public StrItemHandler {
public:
    explicit InlineStrHandler(TextSink* sink) : StrItemHandler(&pieces_), sink_(sink) {}
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

class ColumnHandler : public DefaultElementHandler {
public:
    ColumnHandler(TextSink* sink, XlsxExtractContext* context) noexcept : sink_(sink), context_(context) {}
    void startElement(int, const XmlRoAttrList& attributes) override { type_ = attributes.text(token::sml::t); }
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::v)
            return adoptChild<ValueHandler>(sink_, &type_, context_);
        if (token == token::sml::is && type_ == "inlineStr")
            return adoptChild<InlineStrHandler>(sink_);
        return nullptr;
    }

private:
    TextSink* sink_;
    XlsxExtractContext* context_;
    std::string type_;
};

class RowHandler : public DefaultElementHandler {
public:
    RowHandler(TextSink* sink, XlsxExtractContext* context) noexcept : sink_(sink), context_(context) {}
    void endElement(int) override { sink_->appendUtf8("\n\t", 2); }
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::c ? adoptChild<ColumnHandler>(sink_, context_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    XlsxExtractContext* context_;
};

class SheetDataHandler : public DefaultElementHandler {
public:
    SheetDataHandler(TextSink* sink, XlsxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::row ? adoptChild<RowHandler>(sink_, context_) : nullptr;
    }

private:
    TextSink* sink_;
    XlsxExtractContext* context_;
};

class HeaderFooterHandler : public DefaultElementHandler {
public:
    HeaderFooterHandler(TextSink* sink, XlsxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::oddHeader || token == token::sml::oddFooter)
            return adoptChild<ValueHandler>(sink_, &type_, context_);
        return nullptr;
    }

private:
    TextSink* sink_;
    XlsxExtractContext* context_;
    const std::string type_;
};

}  // namespace

ElementHandler* WorksheetHandler::getChildHandler(int token)
{
    if (token == token::sml::sheetData)
        return adoptChild<SheetDataHandler>(sink_, context_);
    if (token == token::sml::headerFooter && (context_->flags & kTextAndExtras) == kTextAndExtras)
        return adoptChild<HeaderFooterHandler>(sink_, context_);
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
