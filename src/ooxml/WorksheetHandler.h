#pragma once

#include "package/ElementHandler.h"

#include <string>

namespace quillet {

class TextSink;
struct XlsxExtractContext;

// Root of a worksheet part: every cell value followed by "\t", every row
// followed by "\n\t"; with flags 0x110 also the odd-page header and footer.
class WorksheetHandler : public DefaultElementHandler {
public:
    WorksheetHandler(TextSink* sink, XlsxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    TextSink* sink_;
    XlsxExtractContext* context_;
};

// The index of a shared-string cell: decimal digits after optional blanks and
// sign; none gives 0. Negative or too large for an int gives -1.
long long sharedStringIndex(const std::string& text);

}  // namespace quillet
