#pragma once

#include "package/ElementHandler.h"

#include <string>
#include <vector>

namespace quillet {

class TextSink;
struct XlsxExtractContext;

// Root of a worksheet's comments part: each comment writes "\n\t" and the
// texts of its runs joined. Authors and cell references are not written.
class XlsxCommentsHandler : public DefaultElementHandler {
public:
    XlsxCommentsHandler(TextSink* sink, XlsxExtractContext*) : sink_(sink) {}
    ElementHandler* getChildHandler(int token) override;

private:
    TextSink* sink_;
    // The run texts of the comment being read.
    std::vector<std::string> runs_;
};

}  // namespace quillet
