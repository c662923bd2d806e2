#pragma once

#include "ooxml/docx/DocxHandler.h"

namespace quillet {

// Root of a header part ("w:hdr"): the text of every run of its top-level
// paragraphs, each on a line of its own.
class DocxHeaderHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
