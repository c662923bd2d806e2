#pragma once

#include <stdexcept>

namespace quillet {

// Structural damage inside a compound file: a short read, a chain that runs
// out, an allocation table that cannot be completed. It ends the whole
// conversion; the boundary turns it into 4098.
class CompoundFileError : public std::runtime_error {
public:
    CompoundFileError() : std::runtime_error("stream err!") {}
};

}  // namespace quillet
