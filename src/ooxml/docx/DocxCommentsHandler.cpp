#include "ooxml/docx/DocxCommentsHandler.h"

namespace quillet {
namespace {

// w:comment: its paragraphs.
using DocxCommentHandler = OneChildHandler<DocxHandler, token::w::p, RunLinesParagraphHandler>;

}  // namespace

ElementHandler* DocxCommentsHandler::getChildHandler(int token)
{
    return token == token::w::comment ? child<DocxCommentHandler>() : nullptr;
}

}  // namespace quillet
