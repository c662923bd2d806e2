#pragma once

#include "ooxml/pptx/PptxHandler.h"

namespace quillet {

// Root of a slide's comments part: the text of every p:cm, run together.
class PptxCommentListHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
