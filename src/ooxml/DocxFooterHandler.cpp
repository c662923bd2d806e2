#include "ooxml/DocxFooterHandler.h"

#include "package/NameTokens.h"

namespace quillet {
namespace {

namespace w = token::w;
namespace v = token::v;
namespace mc = token::mc;

// A handler whose only child kind is Child, reached through the element Token.
template <int Token, typename Child>
class FooterNode : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == Token ? child<Child>() : nullptr; }
};

class FooterTHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    void characters(const std::string& text) override { append(text); }
};

class FooterPHandler;
class FooterTxbxContentHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override;
};

class FooterTextboxHandler : public FooterNode<w::txbxContent, FooterTxbxContentHandler> {
public:
    using FooterNode::FooterNode;
};
class FooterShapeHandler : public FooterNode<v::textbox, FooterTextboxHandler> {
public:
    using FooterNode::FooterNode;
};
class FooterPickHandler : public FooterNode<v::shape, FooterShapeHandler> {
public:
    using FooterNode::FooterNode;
};
class FooterFallbackHandler : public FooterNode<w::pict, FooterPickHandler> {
public:
    using FooterNode::FooterNode;
};

// Every closing alternate-content block ends a line, text or not.
class FooterAlternateContentHandler : public FooterNode<mc::Fallback, FooterFallbackHandler> {
public:
    using FooterNode::FooterNode;
    void endElement(int) override { append("\n", 1); }
};

class FooterRHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == w::t)
            return child<FooterTHandler>();
        return token == mc::AlternateContent ? child<FooterAlternateContentHandler>() : nullptr;
    }
};

class FooterPHandler : public FooterNode<w::r, FooterRHandler> {
public:
    using FooterNode::FooterNode;
};

ElementHandler* FooterTxbxContentHandler::getChildHandler(int token)
{
    return token == w::p ? child<FooterPHandler>() : nullptr;
}

}  // namespace

ElementHandler* DocxFooterHandler::getChildHandler(int token)
{
    return token == w::p ? child<FooterPHandler>() : nullptr;
}

}  // namespace quillet
