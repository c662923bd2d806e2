#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class BiffReader;

// The BLIP store of a workbook's MSODRAWINGGROUP record, the reader standing
// at its body; numbers start at 1 for each record. The error number of a
// picture file that could not be made ("open error!" was said), else 0.
int extractExcelDrawingGroupPictures(BiffReader& reader, const std::string& folder);

}  // namespace quillet
