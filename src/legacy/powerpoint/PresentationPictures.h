#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class CompoundStream;

// The BLIPs of a presentation's "Pictures" stream, one after another,
// numbered from 1. False when a picture file could not be made ("open
// error!" was said).
bool extractPresentationPictures(CompoundStream& pictures, int64_t size, const std::string& folder);

}  // namespace quillet
