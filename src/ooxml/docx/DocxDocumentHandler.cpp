#include "ooxml/docx/DocxDocumentHandler.h"

#include "ooxml/docx/ListNumbering.h"
#include "package/MemoryBudget.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

namespace quillet {
namespace {

namespace w = token::w;
namespace v = token::v;
namespace mc = token::mc;

// The handlers that choose among several children; each getChildHandler
// follows below.
class DocxBodyHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Every paragraph reached starts on a line of its own.
class ParagraphHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    void startElement(int, const AttributeList&) override { append("\n", 1); }
    ElementHandler* getChildHandler(int token) override;
};

class RHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

class SmartTagHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

class RunWrapperHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

class SdtContentHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

class CellHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override { return blockChild(token); }
};

// The rows of a table, or the cells of a row, which may stand inside content
// controls and custom markup, as forms build them.
template <int PartToken, class PartHandler>
class TablePartsHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override
    {
        switch (token) {
        case PartToken:
            return child<PartHandler>();
        case w::sdt:
            return child<OneChildHandler<DocxBlockHandler, w::sdtContent, TablePartsHandler>>();
        case w::customXml:
            return child<TablePartsHandler>();
        default:
            return nullptr;
        }
    }
};

using RowHandler = TablePartsHandler<w::tc, CellHandler>;
using TableHandler = TablePartsHandler<w::tr, RowHandler>;

// The paragraph's properties: its list label comes before its text.
class PPrHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    void startElement(int, const AttributeList&) override { context_->listId = 0; }
    void endElement(int) override;
    ElementHandler* getChildHandler(int token) override;
};

class NumPrHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return false; }
};

// w:ilvl and w:numId.
class ListReferenceHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    void startElement(int token, const AttributeList& attributes) override
    {
        std::string text;
        if (const AttributeValue* value = attributes.find(w::val))
            value->toString(text);
        const int number = listNumberValue(text, 0);
        if (token == w::ilvl)
            context_->listLevel = number;
        else
            context_->listId = number;
    }
};

class TxbxContentHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override { return blockChild(token); }
};

class PictHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

class GroupHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Parents of elements read for their attributes, which are mostly empty.
class SectPrHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return false; }
};

class ShapeHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return false; }
};

class TextHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    void characters(const std::string& text) override { append(text); }
};

// Word-art: the shape's text is an attribute.
class TextpathHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    bool declinesAttributes() const override { return false; }
    void startElement(int, const AttributeList& attributes) override
    {
        if (const AttributeValue* value = attributes.find(v::string)) {
            std::string text;
            value->toString(text);
            append(text);
        }
    }
};

// The handlers that follow one kind of child.
using InsHandler = OneChildHandler<DocxBlockHandler, w::r, RHandler>;
using HyperlinkHandler = OneChildHandler<DocxBlockHandler, w::r, RHandler>;
using SdtHandler = OneChildHandler<DocxBlockHandler, w::sdtContent, SdtContentHandler>;
// The VML fallback; the DrawingML choice would repeat it.
using AlternateContentHandler =
    OneChildHandler<DocxBlockHandler, mc::Fallback, OneChildHandler<DocxBlockHandler, w::pict, PictHandler>>;
using TextboxHandler = OneChildHandler<DocxBlockHandler, w::txbxContent, TxbxContentHandler>;
// Shapes that hold nothing but a text box.
using TextboxOwnerHandler = OneChildHandler<DocxBlockHandler, v::textbox, TextboxHandler>;

class HeaderReferenceHandler : public DefaultElementHandler {
public:
    HeaderReferenceHandler(TextSink*, DocxExtractContext* context) : context_(context) {}
    void startElement(int, const AttributeList& attributes) override
    {
        if (const AttributeValue* value = attributes.find(token::r::id)) {
            std::string id;
            value->toString(id);
            if (context_->budget != nullptr)
                context_->budget->charge(MemoryBudget::inVector(sizeof(std::string)) + id.size());
            context_->referenceIds.push_back(std::move(id));
        }
    }

private:
    DocxExtractContext* context_;
};

class FooterReferenceHandler : public HeaderReferenceHandler {
public:
    using HeaderReferenceHandler::HeaderReferenceHandler;
};

ElementHandler* DocxBodyHandler::getChildHandler(int token)
{
    if (token == w::sectPr)
        return child<SectPrHandler>();
    return blockChild(token);
}

ElementHandler* ParagraphHandler::getChildHandler(int token)
{
    switch (token) {
    case w::pPr:
        return child<PPrHandler>();
    case w::r:
        return child<RHandler>();
    case w::ins:
        return child<InsHandler>();
    case w::hyperlink:
        return child<HyperlinkHandler>();
    case w::smartTag:
        return child<SmartTagHandler>();
    case w::sdt:
        return child<SdtHandler>();
    default:
        return runWrapperChild(token);
    }
}

ElementHandler* PPrHandler::getChildHandler(int token)
{
    if (token == w::sectPr)
        return child<SectPrHandler>();
    if (token == w::numPr && context_->numbering != nullptr) {
        context_->listLevel = 0;
        return child<NumPrHandler>();
    }
    return nullptr;
}

void PPrHandler::endElement(int)
{
    if (context_->listId == 0 || context_->numbering == nullptr)
        return;
    const std::string label = context_->numbering->nextLabel(context_->listId, context_->listLevel);
    context_->listId = 0;
    if (label.empty())
        return;
    append(label);
    append("\t", 1);
}

ElementHandler* NumPrHandler::getChildHandler(int token)
{
    return token == w::ilvl || token == w::numId ? child<ListReferenceHandler>() : nullptr;
}

ElementHandler* SectPrHandler::getChildHandler(int token)
{
    if (!context_->readsExtras())
        return nullptr;
    if (token == w::headerReference)
        return child<HeaderReferenceHandler>();
    if (token == w::footerReference)
        return child<FooterReferenceHandler>();
    return nullptr;
}

ElementHandler* RHandler::getChildHandler(int token)
{
    switch (token) {
    case w::t:
        return child<TextHandler>();
    case w::pict:
        return child<PictHandler>();
    case mc::AlternateContent:
        return child<AlternateContentHandler>();
    // Shown as white space or a hyphen; without them words run together.
    case w::tab:
        append("\t", 1);
        return nullptr;
    case w::br:
    case w::cr:
        append("\n", 1);
        return nullptr;
    case w::noBreakHyphen:
        append("-", 1);
        return nullptr;
    default:
        return nullptr;
    }
}

ElementHandler* SmartTagHandler::getChildHandler(int token)
{
    if (token == w::r)
        return child<RHandler>();
    return token == w::smartTag ? child<SmartTagHandler>() : nullptr;
}

// Inline or around paragraphs: a custom-markup element may be either.
ElementHandler* RunWrapperHandler::getChildHandler(int token)
{
    switch (token) {
    case w::r:
        return child<RHandler>();
    case w::ins:
        return child<InsHandler>();
    case w::hyperlink:
        return child<HyperlinkHandler>();
    case w::smartTag:
        return child<SmartTagHandler>();
    default:
        if (ElementHandler* wrapped = runWrapperChild(token))
            return wrapped;
        return blockChild(token);
    }
}

ElementHandler* SdtContentHandler::getChildHandler(int token)
{
    if (token == w::r)
        return child<RHandler>();
    if (ElementHandler* wrapped = runWrapperChild(token))
        return wrapped;
    return blockChild(token);
}

// Ovals are read in a picture, not inside a group.
ElementHandler* PictHandler::getChildHandler(int token)
{
    return token == v::oval ? child<TextboxOwnerHandler>() : shapeChild(token);
}

ElementHandler* GroupHandler::getChildHandler(int token)
{
    return shapeChild(token);
}

ElementHandler* ShapeHandler::getChildHandler(int token)
{
    if (token == v::textbox)
        return child<TextboxHandler>();
    return token == v::textpath ? child<TextpathHandler>() : nullptr;
}

// w:footnote or w:endnote: read as a story unless it is a separator or a
// continuation notice.
class NoteHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    bool declinesAttributes() const override { return false; }
    void startElement(int, const AttributeList& attributes) override
    {
        const AttributeValue* type = attributes.find(w::type);
        std::string kind;
        if (type != nullptr)
            type->toString(kind);
        shown_ = kind.empty() || kind == "normal";
    }
    ElementHandler* getChildHandler(int token) override { return shown_ ? blockChild(token) : nullptr; }

private:
    bool shown_ = true;
};

}  // namespace

ElementHandler* DocxBlockHandler::blockChild(int token)
{
    switch (token) {
    case w::p:
        return child<ParagraphHandler>();
    case w::tbl:
        return child<TableHandler>();
    case w::sdt:
        return child<SdtHandler>();
    case w::customXml:
        return child<RunWrapperHandler>();
    default:
        return nullptr;
    }
}

ElementHandler* DocxBlockHandler::runWrapperChild(int token)
{
    switch (token) {
    case w::moveTo:
        return child<InsHandler>();
    case w::customXml:
    case w::bdo:
    case w::dir:
    case w::fldSimple:
        return child<RunWrapperHandler>();
    default:
        return nullptr;
    }
}

ElementHandler* DocxBlockHandler::shapeChild(int token)
{
    switch (token) {
    case v::shape:
        return child<ShapeHandler>();
    case v::group:
        return child<GroupHandler>();
    case v::rect:
    case v::roundrect:
        return child<TextboxOwnerHandler>();
    default:
        return nullptr;
    }
}

ElementHandler* DocxStoryHandler::getChildHandler(int token)
{
    return blockChild(token);
}

ElementHandler* DocxNotesHandler::getChildHandler(int token)
{
    return token == w::footnote || token == w::endnote ? child<NoteHandler>() : nullptr;
}

ElementHandler* DocxDocumentHandler::getChildHandler(int token)
{
    return token == token::w::body ? adoptChild<DocxBodyHandler>(sink_, context_) : nullptr;
}

}  // namespace quillet
