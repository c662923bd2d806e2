#pragma once

// The entry through which the dispatcher reaches the RTF reader.

#include <cstdint>
#include <string>

namespace quillet {

uint32_t exportRtfDocument(const std::string& source, const std::string& folder, uint32_t flags);

}  // namespace quillet
