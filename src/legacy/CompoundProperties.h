#pragma once

#include "output/DocumentMetadata.h"

namespace quillet {

class CompoundFile;

// The properties a binary Office document keeps in its summary and document
// summary property sets. A set that is missing or cannot be read adds nothing;
// reading never fails the document.
DocumentMetadata readCompoundProperties(CompoundFile& file);

}  // namespace quillet
