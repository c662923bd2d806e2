#pragma once

#include "ooxml/docx/DocxHandler.h"

namespace quillet {

// Root of a footer part ("w:ftr"): the run text of its paragraphs and of
// their VML text boxes, run together, then one line feed.
class DocxFooterHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    void endElement(int) override { append("\n", 1); }
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
