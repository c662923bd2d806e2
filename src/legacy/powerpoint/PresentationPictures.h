#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class CompoundStream;

// The BLIPs of a presentation's "Pictures" stream, one after another,
// numbered from 1. The error number of a picture file that could not be
// made ("open error!" was said), else 0.
int extractPresentationPictures(CompoundStream& pictures, int64_t size, const std::string& folder);

}  // namespace quillet
