#pragma once

#include "package/xml/ElementHandler.h"

namespace quillet {

struct PptxExtractContext;

// Root of the presentation part: collects the slide ids in show order.
class PresentationHandler : public DefaultElementHandler {
public:
    explicit PresentationHandler(PptxExtractContext* context) : context_(context) {}
    ElementHandler* getChildHandler(int token) override;

private:
    PptxExtractContext* context_;
};

}  // namespace quillet
