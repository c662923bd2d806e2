#pragma once

#include "ooxml/xlsx/XlsxHandler.h"

#include <string>

namespace quillet {

// Root of a worksheet part: every cell value as its style shows it, followed
// by "\t", every row followed by "\n\t"; with flags 0x110 also the odd-page
// header and footer.
class WorksheetHandler : public XlsxHandler {
public:
    using XlsxHandler::XlsxHandler;
    ElementHandler* getChildHandler(int token) override;
};

// The index of a shared-string cell: decimal digits after optional blanks and
// sign; none gives 0. Negative or too large for an int gives -1.
long long sharedStringIndex(const std::string& text);

// A cell's number in the C form, blanks around it allowed; false for anything else.
bool parseNumber(const std::string& text, double& value);

}  // namespace quillet
