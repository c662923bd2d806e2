#pragma once

#include "output/DocumentMetadata.h"

namespace quillet {

class OpcPackage;

// The properties a package keeps in its core properties (Dublin Core: title,
// author, dates as written) and extended properties (application, counts,
// company) parts, found through the package's own relationships. A part that
// is missing or cannot be read adds nothing.
DocumentMetadata readPackageProperties(OpcPackage& package);

}  // namespace quillet
