#pragma once

#include "package/xml/ElementHandler.h"

namespace quillet {

struct XlsxExtractContext;

// Root of the styles part: the workbook's own number formats (numFmts) and
// the format of each cell style (cellXfs), in order, into the context.
class StylesHandler : public DefaultElementHandler {
public:
    explicit StylesHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    XlsxExtractContext* context_;
};

// The leading decimal digits of an attribute's text; none, or too many, gives 0.
unsigned leadingNumber(const std::string& text);

}  // namespace quillet
