#pragma once

#include "ooxml/xlsx/XlsxHandler.h"

#include <string>
#include <vector>

namespace quillet {

// Root of the shared-strings part: each si, its runs joined, becomes the
// next shared string.
class SharedStringsHandler : public DefaultElementHandler {
public:
    explicit SharedStringsHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    XlsxExtractContext* context_;
    std::vector<std::string> pieces_;
};

// Collects the text of t elements, directly or inside rich runs r, as pieces.
// Shared strings and inline strings share this shape.
class StringItemHandler : public PieceHandler {
public:
    using PieceHandler::PieceHandler;
    ElementHandler* getChildHandler(int token) override;
};

}  // namespace quillet
