#pragma once

#include <cstring>
#include <stdexcept>
#include <string>

namespace quillet {

// An output file could not be written whole (disk full, file-size limit, I/O
// error). The conversion ends with the errno as its result; what was written
// of the file is gone by the time this is raised.
class WriteError : public std::runtime_error {
public:
    WriteError(int error, const std::string& path)
        : std::runtime_error("cannot write " + path + ": " + std::strerror(error)), error_(error)
    {
    }
    int error() const { return error_; }

private:
    int error_;
};

}  // namespace quillet
