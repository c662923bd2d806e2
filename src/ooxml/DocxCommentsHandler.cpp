#include "ooxml/DocxCommentsHandler.h"

#include "package/NameTokens.h"

namespace quillet {
namespace {

namespace w = token::w;

class DocxCommentTHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    void characters(const std::string& text) override
    {
        append(text);
        append("\n", 1);
    }
};

class DocxCommentRHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == w::t ? child<DocxCommentTHandler>() : nullptr; }
};

class DocxCommentPHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == w::r ? child<DocxCommentRHandler>() : nullptr; }
};

class DocxCommentHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override { return token == w::p ? child<DocxCommentPHandler>() : nullptr; }
};

}  // namespace

ElementHandler* DocxCommentsHandler::getChildHandler(int token)
{
    return token == w::comment ? child<DocxCommentHandler>() : nullptr;
}

}  // namespace quillet
