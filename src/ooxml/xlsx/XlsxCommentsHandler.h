#pragma once

#include "ooxml/xlsx/XlsxHandler.h"

#include <string>
#include <vector>

namespace quillet {

// Root of a worksheet's comments part: each comment writes "\n\t" and the
// texts of its runs joined. Authors and cell references are not written.
class XlsxCommentsHandler : public XlsxHandler {
public:
    using XlsxHandler::XlsxHandler;
    ElementHandler* getChildHandler(int token) override;

private:
    // The run texts of the comment being read.
    std::vector<std::string> runs_;
};

}  // namespace quillet
