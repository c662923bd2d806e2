#include "legacy/BinaryPictures.h"

namespace quillet {

// Pictures of binary documents are not written yet.
void extractWordDrawingGroupPictures(CompoundStream&, const WordFib&, CompoundStream&, CompoundFile&,
                                     const std::string&, int64_t&)
{
}

void extractWordDataPictures(CompoundStream&, int64_t, const std::string&, int64_t&) {}

void extractExcelDrawingGroupPictures(BiffReader&, const std::string&) {}

}  // namespace quillet
