#pragma once

#include "ooxml/pptx/PptxHandler.h"

namespace quillet {

// Root of a slide part: the text bodies of shapes, of shapes in groups and of
// table cells in graphic frames; the diagrams' data part ids.
class SlideHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Root of a notes part: the text bodies of the shapes and tables directly in
// its tree.
class NotesHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Root of a diagram data part ("dgm:dataModel"): the text of each point.
class DiagramDataHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
