#pragma once

#include "ooxml/DocxExtractContext.h"
#include "output/TextSink.h"
#include "package/ElementHandler.h"

#include <string>

namespace quillet {

// A handler of a word-processing part: every child it creates shares its
// sink and context, neither of which it owns.
class DocxHandler : public DefaultElementHandler {
public:
    DocxHandler(TextSink* sink, DocxExtractContext* context) noexcept : sink_(sink), context_(context) {}

    // Most elements are read for their children and text alone; the few that
    // need attributes say so, and so do the parents of their empty forms.
    bool declinesAttributes() const override { return true; }

protected:
    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(sink_, context_);
    }
    void append(const std::string& utf8) { sink_->appendUtf8(utf8); }
    void append(const char* utf8, size_t size) { sink_->appendUtf8(utf8, size); }

    TextSink* sink_;
    DocxExtractContext* context_;
};

}  // namespace quillet
