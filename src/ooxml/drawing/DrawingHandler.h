#pragma once

// The handler trees of the drawing parts embedded in binary presentations:
// each handler follows exactly one child element, and the run text at the
// end of the chain goes to the sink.

#include "package/xml/ElementHandler.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

#include <string>

namespace quillet {

class TextSink;

// Strict UTF-8 to UTF-16: false, with out left empty, for overlong forms,
// surrogates, values above U+10FFFF and cut sequences.
bool strictUtf8ToUtf16(const std::string& utf8, std::u16string& out);

// One run: its text as UTF-16 (nothing when it is not UTF-8), then ";".
void appendDrawingRun(TextSink* sink, const std::string& utf8);

// A handler of a drawing part; its children share its sink, which it does
// not own. No element there is read for its attributes.
class DrawingHandler : public DefaultElementHandler {
public:
    explicit DrawingHandler(TextSink* sink) noexcept : sink_(sink) {}
    bool declinesAttributes() const override { return true; }

protected:
    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(sink_);
    }

    TextSink* sink_;
};

// a:t
class DrawingTextHandler : public DrawingHandler {
public:
    using DrawingHandler::DrawingHandler;
    void characters(const std::string& text) override { appendDrawingRun(sink_, text); }
};

// A text body: its paragraphs a:p, their runs a:r, the runs' text a:t.
using DrawingRunHandler = OneChildHandler<DrawingHandler, token::a::t, DrawingTextHandler>;
using DrawingParagraphHandler = OneChildHandler<DrawingHandler, token::a::r, DrawingRunHandler>;
using DrawingTextBodyHandler = OneChildHandler<DrawingHandler, token::a::p, DrawingParagraphHandler>;

// The shape part: the text body p:txBody directly under the part's root.
using EmbeddedShapeHandler = OneChildHandler<DrawingHandler, token::p::txBody, DrawingTextBodyHandler>;

// The graphic-frame part: only the text of table cells, a:graphic /
// a:graphicData / a:tbl / a:tr / a:tc / a:txBody.
using EmbeddedTableCellHandler = OneChildHandler<DrawingHandler, token::a::txBody, DrawingTextBodyHandler>;
using EmbeddedTableRowHandler = OneChildHandler<DrawingHandler, token::a::tc, EmbeddedTableCellHandler>;
using EmbeddedTableTblHandler = OneChildHandler<DrawingHandler, token::a::tr, EmbeddedTableRowHandler>;
using EmbeddedTableGraphicDataHandler = OneChildHandler<DrawingHandler, token::a::tbl, EmbeddedTableTblHandler>;
using EmbeddedTableGraphicHandler =
    OneChildHandler<DrawingHandler, token::a::graphicData, EmbeddedTableGraphicDataHandler>;
using EmbeddedTableHandler = OneChildHandler<DrawingHandler, token::a::graphic, EmbeddedTableGraphicHandler>;

}  // namespace quillet
