#pragma once

#include <cstdint>
#include <stdexcept>

namespace quillet {

// Raised when the structures read from one package would outgrow its budget.
class BudgetExceeded : public std::runtime_error {
public:
    BudgetExceeded() : std::runtime_error("package structures beyond their memory budget") {}
};

// The bytes that the structures built from one package's parts (shared
// strings, slide lists, relationship tables) may hold together. A part can
// declare any size and inflate a thousandfold, so what a package may cost is
// set by the package's own size, not by what it says inside.
class MemoryBudget {
public:
    // What any package may use, however small.
    static constexpr uint64_t kCap = uint64_t(512) << 20;
    // And this much for every byte of the package file.
    static constexpr uint64_t kPerSourceByte = 4;

    explicit MemoryBudget(uint64_t bytes) : left_(bytes) {}
    static uint64_t forSourceSize(int64_t size)
    {
        return kCap + (size > 0 ? static_cast<uint64_t>(size) * kPerSourceByte : 0);
    }

    // Takes bytes from the budget, or raises BudgetExceeded when they are not
    // there; after a refusal every later charge is refused too.
    void charge(uint64_t bytes)
    {
        if (bytes > left_) {
            left_ = 0;
            throw BudgetExceeded();
        }
        left_ -= bytes;
    }
    uint64_t left() const { return left_; }

    // What an element of a growing vector costs: while it moves its
    // elements it holds them twice.
    static constexpr uint64_t inVector(uint64_t elementSize) { return 2 * elementSize; }

private:
    uint64_t left_;
};

}  // namespace quillet
