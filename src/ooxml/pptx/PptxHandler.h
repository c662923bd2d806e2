#pragma once

#include "ooxml/PackageHandler.h"
#include "ooxml/pptx/PptxExtractContext.h"

namespace quillet {

// A handler of a presentation part.
using PptxHandler = PackageHandler<PptxExtractContext>;

}  // namespace quillet
