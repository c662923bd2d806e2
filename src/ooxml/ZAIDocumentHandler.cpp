#include "ooxml/ZAIDocumentHandler.h"

#include "package/NameTokens.h"
#include "package/XmlRoAttr.h"

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
};

#define QUILLET_BODY_HANDLER(Name)                      \
    class Name : public BodyNode {                      \
    public:                                             \
        using BodyNode::BodyNode;                       \
        ElementHandler* getChildHandler(int) override; \
    };

QUILLET_BODY_HANDLER(ZAIBodyHandler)
QUILLET_BODY_HANDLER(PPrHandler)
QUILLET_BODY_HANDLER(RHandler)
QUILLET_BODY_HANDLER(InsHandler)
QUILLET_BODY_HANDLER(HyperlinkHandler)
QUILLET_BODY_HANDLER(SmartTagHandler)
QUILLET_BODY_HANDLER(RunWrapperHandler)
QUILLET_BODY_HANDLER(SdtHandler)
QUILLET_BODY_HANDLER(SdtContentHandler)
QUILLET_BODY_HANDLER(TblHandler_docx)
QUILLET_BODY_HANDLER(TrHandler_docx)
QUILLET_BODY_HANDLER(TcHandler_docx)
QUILLET_BODY_HANDLER(AlternateContentHandler)
QUILLET_BODY_HANDLER(FallbackHandler)
QUILLET_BODY_HANDLER(PictHandler)
QUILLET_BODY_HANDLER(GroupHandler)
QUILLET_BODY_HANDLER(TextboxOwnerHandler)
QUILLET_BODY_HANDLER(TextboxHandler)
QUILLET_BODY_HANDLER(TxbxContentHandler)
#undef QUILLET_BODY_HANDLER

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

// Every paragraph reached starts on a line of its own.
class ParagraphHandler : public BodyNode {
public:
    using BodyNode::BodyNode;
    void startElement(int, const XmlRoAttrList&) override { append("\n", 1); }
    ElementHandler* getChildHandler(int token) override;
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
    void startElement(int, const XmlRoAttrList& attributes) override
    {
        if (const XmlRoAttrValue* value = attributes.find(v::string)) {
            std::string text;
            value->toString(text);
            append(text);
        }
    }
};

// Shapes that hold nothing but a text box.
class RectHandler : public TextboxOwnerHandler {
public:
    using TextboxOwnerHandler::TextboxOwnerHandler;
};
class RoundrectHandler : public TextboxOwnerHandler {
public:
    using TextboxOwnerHandler::TextboxOwnerHandler;
};
class OvalHandler : public TextboxOwnerHandler {
public:
    using TextboxOwnerHandler::TextboxOwnerHandler;
};

class HeaderRidHandler : public DefaultElementHandler {
public:
    HeaderRidHandler(TextSink*, DocxExtractContext* context) : context_(context) {}
    void startElement(int, const XmlRoAttrList& attributes) override
    {
        if (const XmlRoAttrValue* value = attributes.find(token::r::id)) {
            std::string id;
            value->toString(id);
            context_->referenceIds.push_back(std::move(id));
        }
    }

private:
    DocxExtractContext* context_;
};

class FooterRidHandler : public HeaderRidHandler {
public:
    using HeaderRidHandler::HeaderRidHandler;
};

ElementHandler* BodyNode::blockChild(int token)
{
    switch (token) {
    case w::p: return child<ParagraphHandler>();
    case w::tbl: return child<TblHandler_docx>();
    case w::sdt: return child<SdtHandler>();
    case w::customXml: return child<RunWrapperHandler>();
    default: return nullptr;
    }
}

ElementHandler* BodyNode::runWrapperChild(int token)
{
    switch (token) {
    case w::moveTo: return child<InsHandler>();
    case w::customXml:
    case w::bdo:
    case w::dir:
    case w::fldSimple: return child<RunWrapperHandler>();
    default: return nullptr;
    }
}

ElementHandler* ZAIBodyHandler::getChildHandler(int token)
{
    if (token == w::sectPr)
        return child<SectPrHandler>();
    return blockChild(token);
}

ElementHandler* ParagraphHandler::getChildHandler(int token)
{
    switch (token) {
    case w::pPr: return child<PPrHandler>();
    case w::r: return child<RHandler>();
    case w::ins: return child<InsHandler>();
    case w::hyperlink: return child<HyperlinkHandler>();
    case w::smartTag: return child<SmartTagHandler>();
    case w::sdt: return child<SdtHandler>();
    default: return runWrapperChild(token);
    }
}

ElementHandler* PPrHandler::getChildHandler(int token)
{
    return token == w::sectPr ? child<SectPrHandler>() : nullptr;
}

ElementHandler* SectPrHandler::getChildHandler(int token)
{
    if (!context_->readsExtras())
        return nullptr;
    if (token == w::headerReference)
        return child<HeaderRidHandler>();
    if (token == w::footerReference)
        return child<FooterRidHandler>();
    return nullptr;
}

ElementHandler* RHandler::getChildHandler(int token)
{
    switch (token) {
    case w::t: return child<TextHandler>();
    case w::pict: return child<PictHandler>();
    case mc::AlternateContent: return child<AlternateContentHandler>();
    // Shown as white space or a hyphen; without them words run together.
    case w::tab: append("\t", 1); return nullptr;
    case w::br:
    case w::cr: append("\n", 1); return nullptr;
    case w::noBreakHyphen: append("-", 1); return nullptr;
    default: return nullptr;
    }
}

ElementHandler* InsHandler::getChildHandler(int token)
{
    return token == w::r ? child<RHandler>() : nullptr;
}

ElementHandler* HyperlinkHandler::getChildHandler(int token)
{
    return token == w::r ? child<RHandler>() : nullptr;
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
    case w::r: return child<RHandler>();
    case w::ins: return child<InsHandler>();
    case w::hyperlink: return child<HyperlinkHandler>();
    case w::smartTag: return child<SmartTagHandler>();
    default:
        if (ElementHandler* wrapped = runWrapperChild(token))
            return wrapped;
        return blockChild(token);
    }
}

ElementHandler* SdtHandler::getChildHandler(int token)
{
    return token == w::sdtContent ? child<SdtContentHandler>() : nullptr;
}

ElementHandler* SdtContentHandler::getChildHandler(int token)
{
    if (token == w::r)
        return child<RHandler>();
    if (ElementHandler* wrapped = runWrapperChild(token))
        return wrapped;
    return blockChild(token);
}

ElementHandler* TblHandler_docx::getChildHandler(int token)
{
    return token == w::tr ? child<TrHandler_docx>() : nullptr;
}

ElementHandler* TrHandler_docx::getChildHandler(int token)
{
    return token == w::tc ? child<TcHandler_docx>() : nullptr;
}

ElementHandler* TcHandler_docx::getChildHandler(int token)
{
    return blockChild(token);
}

ElementHandler* AlternateContentHandler::getChildHandler(int token)
{
    // The VML fallback; the DrawingML choice would repeat it.
    return token == mc::Fallback ? child<FallbackHandler>() : nullptr;
}

ElementHandler* FallbackHandler::getChildHandler(int token)
{
    return token == w::pict ? child<PictHandler>() : nullptr;
}

ElementHandler* PictHandler::getChildHandler(int token)
{
    switch (token) {
    case v::shape: return child<ShapeHandler>();
    case v::group: return child<GroupHandler>();
    case v::rect: return child<RectHandler>();
    case v::roundrect: return child<RoundrectHandler>();
    case v::oval: return child<OvalHandler>();
    default: return nullptr;
    }
}

ElementHandler* GroupHandler::getChildHandler(int token)
{
    switch (token) {
    case v::shape: return child<ShapeHandler>();
    case v::group: return child<GroupHandler>();
    case v::rect: return child<RectHandler>();
    case v::roundrect: return child<RoundrectHandler>();
    default: return nullptr;
    }
}

ElementHandler* ShapeHandler::getChildHandler(int token)
{
    if (token == v::textbox)
        return child<TextboxHandler>();
    return token == v::textpath ? child<TextpathHandler>() : nullptr;
}

ElementHandler* TextboxOwnerHandler::getChildHandler(int token)
{
    return token == v::textbox ? child<TextboxHandler>() : nullptr;
}

ElementHandler* TextboxHandler::getChildHandler(int token)
{
    return token == w::txbxContent ? child<TxbxContentHandler>() : nullptr;
}

ElementHandler* TxbxContentHandler::getChildHandler(int token)
{
    return blockChild(token);
}

}  // namespace

ElementHandler* ZAIDocumentHandler::getChildHandler(int token)
{
    return token == token::w::body ? adoptChild<ZAIBodyHandler>(sink_, context_) : nullptr;
}

}  // namespace quillet
