#include "ooxml/docx/DocxHeaderHandler.h"

namespace quillet {

ElementHandler* DocxHeaderHandler::getChildHandler(int token)
{
    return token == token::w::p ? child<RunLinesParagraphHandler>() : nullptr;
}

}  // namespace quillet
