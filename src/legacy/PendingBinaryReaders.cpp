// Binary readers that are not built yet: the spreadsheet and presentation
// exports answer "unsupported", and Word pictures are not written.
#include "legacy/BinaryPictures.h"
#include "legacy/BinaryReaderEntries.h"

#include <quillet/quillet.h>

namespace quillet {

int exportExcelDocument(CompoundFile&, const std::string&, uint32_t)
{
    return Unsupported;
}

int exportPresentationDocument(CompoundFile&, const std::string&, uint32_t)
{
    return Unsupported;
}

void extractWordDrawingGroupPictures(CompoundStream&, const WordFib&, CompoundStream&, CompoundFile&,
                                     const std::string&, int64_t&)
{
}

void extractWordDataPictures(CompoundStream&, int64_t, const std::string&, int64_t&) {}

}  // namespace quillet
