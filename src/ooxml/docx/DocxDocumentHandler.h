#pragma once

#include "ooxml/docx/DocxHandler.h"

namespace quillet {

// A handler of body content, with the child choices several share.
class DocxBlockHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;

protected:
    // What may stand wherever paragraphs do.
    ElementHandler* blockChild(int token);
    // Wrappers whose runs are ordinary shown text: moved-to text, custom
    // markup, direction overrides, the shown result of a simple field.
    ElementHandler* runWrapperChild(int token);
    // The VML shapes of a picture or of a group in it.
    ElementHandler* shapeChild(int token);
};

// Root of the main part ("w:document"): paragraphs, tables, content
// controls, VML text boxes and word-art, and the header and footer
// references of the sections.
class DocxDocumentHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Root of a header or footer part: what a body holds, read the same way.
class DocxStoryHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

// Root of a footnotes or endnotes part: each note in part order, as a story;
// separators and continuation notices are left out.
class DocxNotesHandler : public DocxBlockHandler {
public:
    using DocxBlockHandler::DocxBlockHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
