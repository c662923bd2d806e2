#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class ZipArchive;

// Where the package dispatch hands over a presentation package.
uint32_t exportPresentationPackage(ZipArchive& archive, const std::string& folder, uint32_t flags);

}  // namespace quillet
