#pragma once

#include "package/ElementHandler.h"

#include <string>
#include <vector>

namespace quillet {

struct XlsxExtractContext;

// Root of the shared-strings part: each si, its runs joined, becomes the
// next shared string.
class SharedStrsHandler : public DefaultElementHandler {
public:
    explicit SharedStrsHandler(XlsxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    XlsxExtractContext* context_;
    std::vector<std::string> pieces_;
};

// Collects the text of t elements, directly or inside rich runs r, as pieces.
// Shared strings and inline strings share this shape.
class StrItemHandler : public DefaultElementHandler {
public:
    explicit StrItemHandler(std::vector<std::string>* pieces) : pieces_(pieces) {}
    ElementHandler* getChildHandler(int token) override;
    bool declinesAttributes() const override { return true; }

protected:
    std::string joinedPieces() const;

private:
    std::vector<std::string>* pieces_;
};

}  // namespace quillet
