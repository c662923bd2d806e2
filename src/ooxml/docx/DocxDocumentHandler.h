#pragma once

#include "ooxml/docx/DocxHandler.h"

namespace quillet {

// Root of the main part ("w:document"): paragraphs, tables, content
// controls, VML text boxes and word-art, and the header and footer
// references of the sections.
class DocxDocumentHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
