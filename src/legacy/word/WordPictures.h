#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class CompoundFile;
class CompoundStream;
struct WordFib;

// Each returns the error number of a picture file that could not be made
// ("open error!" was said, and the pictures end there, so a document says it
// once), else 0. counter numbers the pictures across
// both sources: the drawing group runs first, then the "Data" stream.

// The BLIP store of the drawing group in the table stream, whose entries
// point into the "WordDocument" stream.
int extractWordDrawingGroupPictures(CompoundStream& table, const WordFib& fib, CompoundStream& wordDocument,
                                    CompoundFile& file, const std::string& folder, int64_t& counter);
// The picture blocks of the "Data" stream.
int extractWordDataPictures(CompoundStream& data, int64_t size, const std::string& folder, int64_t& counter);

}  // namespace quillet
