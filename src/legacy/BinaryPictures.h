#pragma once

// Pictures embedded in binary documents, written beside "1.txt" as image<N>
// plus their extension. In Word documents counter numbers them across both
// sources: the drawing group runs first, then the "Data" stream.

#include <cstdint>
#include <string>

namespace quillet {

class BiffReader;
class CompoundFile;
class CompoundStream;
struct WordFib;

// Each returns false when a picture file could not be made ("open error!"
// was said), so a document says it once.

// The BLIP store of the drawing group in the table stream, whose entries
// point into the "WordDocument" stream.
bool extractWordDrawingGroupPictures(CompoundStream& table, const WordFib& fib, CompoundStream& wordDocument,
                                     CompoundFile& file, const std::string& folder, int64_t& counter);
// The picture blocks of the "Data" stream.
bool extractWordDataPictures(CompoundStream& data, int64_t size, const std::string& folder, int64_t& counter);
// The BLIP store of a workbook's MSODRAWINGGROUP record, the reader standing
// at its body; numbers start at 1 for each record.
bool extractExcelDrawingGroupPictures(BiffReader& reader, const std::string& folder);
// The BLIPs of a presentation's "Pictures" stream, one after another;
// numbers start at 1.
bool extractPresentationPictures(CompoundStream& pictures, int64_t size, const std::string& folder);

}  // namespace quillet
