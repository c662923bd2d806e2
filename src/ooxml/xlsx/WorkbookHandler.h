#pragma once

#include "package/xml/ElementHandler.h"

namespace quillet {

struct XlsxExtractContext;

// Root of the workbook part: lists the sheets in workbook order.
class WorkbookHandler : public DefaultElementHandler {
public:
    explicit WorkbookHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    XlsxExtractContext* context_;
};

}  // namespace quillet
