#pragma once

#include "ooxml/PackageHandler.h"
#include "ooxml/docx/DocxExtractContext.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

#include <string>

namespace quillet {

// A handler of a word-processing part. Most elements are read for their
// children and text alone; the few that need attributes say so, and so do
// the parents of their empty forms.
class DocxHandler : public PackageHandler<DocxExtractContext> {
public:
    using PackageHandler::PackageHandler;
    bool declinesAttributes() const override { return true; }
};

// A paragraph of a header or a comment: the text of each of its runs goes on
// a line of its own.
class RunLineTextHandler : public DocxHandler {
public:
    using DocxHandler::DocxHandler;
    void characters(const std::string& text) override
    {
        append(text);
        append("\n", 1);
    }
};
using RunLineHandler = OneChildHandler<DocxHandler, token::w::t, RunLineTextHandler>;
using RunLinesParagraphHandler = OneChildHandler<DocxHandler, token::w::r, RunLineHandler>;

}  // namespace quillet
