#pragma once

#include "ooxml/docx/DocxHandler.h"

namespace quillet {

// Root of the comments part ("w:comments"): every run text of every comment
// paragraph on a line of its own; authors and dates are not written.
class DocxCommentsHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
