#pragma once

#include <cstdint>

namespace quillet {

// The first failure among the files one conversion writes ("1.txt", the
// pictures). A conversion whose output could not be written has failed,
// whatever its reader read.
class OutputFailure {
public:
    OutputFailure() = default;
    explicit OutputFailure(int error) { note(error); }

    // Keeps the first non-zero error number.
    void note(int error)
    {
        if (error_ == 0)
            error_ = error;
    }
    int error() const { return error_; }

    // The reader's result, unless it reports success (0, or 1 for a
    // spreadsheet's strings) while an output failed: then the error number.
    uint32_t result(uint32_t readerResult) const
    {
        return error_ != 0 && readerResult <= 1 ? uint32_t(error_) : readerResult;
    }

private:
    int error_ = 0;
};

}  // namespace quillet
