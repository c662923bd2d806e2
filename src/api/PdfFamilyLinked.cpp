// The internal archive holds the drivers itself.
#include "api/PdfFamilyLoader.h"

#include "pdf/PdfEntry.h"

namespace quillet {

const PdfFamily* loadPdfFamily()
{
    return &linkedPdfFamily();
}

}  // namespace quillet
