#pragma once

#include "package/xml/ElementHandler.h"

#include <string>

namespace quillet {

class TextSink;

// Root of a worksheet's drawing part: the text of its text boxes and shapes,
// each non-empty paragraph (a:p) written after "\n\t", its runs joined.
class SheetDrawingHandler : public DefaultElementHandler {
public:
    explicit SheetDrawingHandler(TextSink* sink) noexcept : sink_(sink) {}
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return true; }

private:
    TextSink* sink_;
    std::string paragraph_;
};

}  // namespace quillet
