#include "ooxml/docx/DocxFooterHandler.h"

#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

namespace quillet {
namespace {

namespace w = token::w;
namespace v = token::v;
namespace mc = token::mc;

class FooterTHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    void characters(const std::string& text) override { append(text); }
};

// A text box holds paragraphs, whose runs lead back here.
class FooterTxbxContentHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override;
};

using FooterTextboxHandler = OneChildHandler<DocxHandler, w::txbxContent, FooterTxbxContentHandler>;
using FooterShapeHandler = OneChildHandler<DocxHandler, v::textbox, FooterTextboxHandler>;
using FooterPictHandler = OneChildHandler<DocxHandler, v::shape, FooterShapeHandler>;
using FooterFallbackHandler = OneChildHandler<DocxHandler, w::pict, FooterPictHandler>;

// Every closing alternate-content block ends a line, text or not.
class FooterAlternateContentHandler : public OneChildHandler<DocxHandler, mc::Fallback, FooterFallbackHandler> {
public:
    using OneChildHandler::OneChildHandler;
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

using FooterPHandler = OneChildHandler<DocxHandler, w::r, FooterRHandler>;

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
