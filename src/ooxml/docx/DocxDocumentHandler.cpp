#include "ooxml/docx/DocxDocumentHandler.h"

#include "package/MemoryBudget.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

namespace quillet {
namespace {

namespace w = token::w;
namespace v = token::v;
namespace mc = token::mc;

// A handler of the main part, with the child choices several of them share.
class BodyNode : public DocxHandler {
public:
    using DocxHandler::DocxHandler;

protected:
    // What may stand wherever paragraphs do.
    ElementHandler* blockChild(int token);
    // Wrappers whose runs are ordinary shown text: moved-to text, custom
    // markup, direction overrides, the shown result of a simple field.
    ElementHandler* runWrapperChild(int token);
    // The VML shapes of a picture or of a group in it.
    ElementHandler* shapeChild(int token);
};

// The handlers that choose among several children; each getChildHandler
// follows below.
class DocxBodyHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

// Every paragraph reached starts on a line of its own.
class ParagraphHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    void startElement(int, const AttributeList&) override { append("\n", 1); }
    ElementHandler* getChildHandler(int token) override;
};

class RHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

class SmartTagHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

class RunWrapperHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

class SdtContentHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

class CellHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override { return blockChild(token); }
};

class TxbxContentHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override { return blockChild(token); }
};

class PictHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

class GroupHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
};

// Parents of elements read for their attributes, which are mostly empty.
class SectPrHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return false; }
};

class ShapeHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return false; }
};

class TextHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    void characters(const std::string& text) override { append(text); }
};

// Word-art: the shape's text is an attribute.
class TextpathHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
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
using PPrHandler = OneChildHandler<BodyNode, w::sectPr, SectPrHandler>;
using InsHandler = OneChildHandler<BodyNode, w::r, RHandler>;
using HyperlinkHandler = OneChildHandler<BodyNode, w::r, RHandler>;
using SdtHandler = OneChildHandler<BodyNode, w::sdtContent, SdtContentHandler>;
using RowHandler = OneChildHandler<BodyNode, w::tc, CellHandler>;
using TableHandler = OneChildHandler<BodyNode, w::tr, RowHandler>;
// The VML fallback; the DrawingML choice would repeat it.
using AlternateContentHandler =
    OneChildHandler<BodyNode, mc::Fallback, OneChildHandler<BodyNode, w::pict, PictHandler>>;
using TextboxHandler = OneChildHandler<BodyNode, w::txbxContent, TxbxContentHandler>;
// Shapes that hold nothing but a text box.
using TextboxOwnerHandler = OneChildHandler<BodyNode, v::textbox, TextboxHandler>;

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

ElementHandler* BodyNode::blockChild(int token)
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

ElementHandler* BodyNode::runWrapperChild(int token)
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

ElementHandler* BodyNode::shapeChild(int token)
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

}  // namespace

ElementHandler* DocxDocumentHandler::getChildHandler(int token)
{
    return token == token::w::body ? adoptChild<DocxBodyHandler>(sink_, context_) : nullptr;
}

}  // namespace quillet
