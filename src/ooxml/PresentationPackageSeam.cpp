#include "ooxml/PresentationPackageSeam.h"

#include <quillet/quillet.h>

namespace quillet {

// No presentation package reader exists yet: such packages are unsupported
// and nothing is written, pictures included.
uint32_t exportPresentationPackage(ZipArchive&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
