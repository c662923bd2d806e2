#include "ooxml/xlsx/WorksheetHandler.h"

#include "numberformat/SerialDateTime.h"
#include "ooxml/xlsx/SharedStringsHandler.h"
#include "ooxml/xlsx/StylesHandler.h"
#include "output/TextSink.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTable.h"
#include "package/xml/NameTokens.h"

#include <charconv>

namespace quillet {
namespace {

constexpr uint32_t kTextAndExtras = 0x110;

// A cell's type (t), told apart once per cell, and its style (s).
enum class CellKind { Number, SharedString, Boolean, Date, InlineString, Other };

struct CellType {
    CellKind kind = CellKind::Number;
    unsigned style = 0;
};

CellKind cellKind(const std::string* type)
{
    if (type == nullptr || type->empty() || *type == "n")
        return CellKind::Number;
    if (*type == "s")
        return CellKind::SharedString;
    if (*type == "b")
        return CellKind::Boolean;
    if (*type == "d")
        return CellKind::Date;
    return *type == "inlineStr" ? CellKind::InlineString : CellKind::Other;
}

// The attributes a cell handler reads.
constexpr int kCellAttributes[] = {token::sml::t, token::sml::s, -1};

// The text of a v element as the cell shows it, or of a header or footer
// (type "str", written as it stands).
class ValueHandler : public DefaultElementHandler {
public:
    ValueHandler(TextSink* sink, const CellType* cell, XlsxExtractContext* context) noexcept
        : sink_(sink), cell_(cell), context_(context)
    {
    }
    void characters(const std::string& text) override
    {
        const CellKind kind = cell_->kind;
        if (kind == CellKind::SharedString) {
            appendShared(text);
            return;
        }
        shown_.clear();
        const std::string* value = &shown_;
        if (kind == CellKind::Boolean && (text == "0" || text == "1"))
            shown_ = text == "1" ? "TRUE" : "FALSE";
        else if (kind == CellKind::Number && formatNumber(text, shown_))
            ;
        else if (kind == CellKind::Date && context_->formats.isDateTime(cell_->style) && formatDate(text, shown_))
            ;
        else
            value = &text;
        if (value->empty())
            return;
        sink_->appendUtf8(*value);
        sink_->appendUtf8("\t", 1);
    }
    bool declinesAttributes() const override { return true; }

private:
    void appendShared(const std::string& text)
    {
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
    // A number as its style shows it; false when the text is no number.
    bool formatNumber(const std::string& text, std::string& shown)
    {
        double value;
        if (!parseNumber(text, value))
            return false;
        context_->formats.format(cell_->style, value, shown);
        return true;
    }
    bool formatDate(const std::string& text, std::string& shown)
    {
        double serial;
        if (!serialFromIsoDate(text, context_->formats.date1904(), serial))
            return false;
        context_->formats.format(cell_->style, serial, shown);
        return true;
    }

    TextSink* sink_;
    const CellType* cell_;
    XlsxExtractContext* context_;
    std::string shown_;
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
    void startElement(int, const AttributeList& attributes) override
    {
        cell_.kind = cellKind(attributes.valueOf(token::sml::t));
        const std::string* style = attributes.valueOf(token::sml::s);
        cell_.style = style != nullptr ? leadingNumber(*style) : 0;
    }
    const int* attributesRead() const override { return kCellAttributes; }
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::v)
            return adoptChild<ValueHandler>(sink_, &cell_, context_);
        if (token == token::sml::is && cell_.kind == CellKind::InlineString)
            return adoptChild<InlineStrHandler>(sink_);
        return nullptr;
    }

private:
    CellType cell_;
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
            return adoptChild<ValueHandler>(sink_, &kText, context_);
        return nullptr;
    }

private:
    // Header and footer text is written as it stands.
    static inline const CellType kText = {CellKind::Other, 0};
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

bool parseNumber(const std::string& text, double& value)
{
    size_t begin = 0, end = text.size();
    while (begin < end && isXmlWhitespace(text[begin]))
        ++begin;
    while (end > begin && isXmlWhitespace(text[end - 1]))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    // Digits only: "inf" and "nan" are text. from_chars reads the C form
    // whatever the process's locale is.
    const size_t first = begin < end && text[begin] == '-' ? begin + 1 : begin;
    if (first >= end || !((text[first] >= '0' && text[first] <= '9') || text[first] == '.'))
        return false;
    const auto result = std::from_chars(text.data() + begin, text.data() + end, value);
    return result.ec == std::errc() && result.ptr == text.data() + end;
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
