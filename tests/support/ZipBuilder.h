#pragma once

#include "support/TempDir.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillet::test {

// The entries of a package by name.
using Parts = std::map<std::string, std::string>;

// The parts with each change applied: an empty change drops its part.
inline Parts edited(Parts parts, const Parts& changes)
{
    for (const auto& [name, bytes] : changes) {
        if (bytes.empty())
            parts.erase(name);
        else
            parts[name] = bytes;
    }
    return parts;
}

// ZIP archives written by minizip, entries in the order added, each deflated
// unless stored.
class ZipBuilder {
public:
    ZipBuilder() = default;
    // The parts of a package, in name order.
    explicit ZipBuilder(const Parts& parts)
    {
        for (const auto& [name, bytes] : parts)
            add(name, bytes);
    }
    ZipBuilder& add(const std::string& name, const std::string& bytes, bool stored = false)
    {
        entries_.push_back({name, bytes, stored, std::string(), 0, std::string()});
        return *this;
    }
    // head, then unit count times, then tail, deflated as they are made: a
    // part that inflates to gigabytes (below 4 GiB) out of a small archive.
    ZipBuilder& addRepeated(const std::string& name, const std::string& head, const std::string& unit, uint64_t count,
                            const std::string& tail)
    {
        entries_.push_back({name, head, false, unit, count, tail});
        return *this;
    }
    // Throws std::runtime_error when minizip fails.
    void write(const std::string& path) const;
    std::string bytes() const;

private:
    struct Entry {
        std::string name;
        std::string bytes;
        bool stored;
        std::string unit;  // repeated count times after bytes
        uint64_t count;
        std::string tail;
    };
    std::vector<Entry> entries_;
};

// Sets a field of the named entry's local header, and the same field of its
// central record, which sits two bytes further on: sizes and methods that lie.
void patchEntry(std::string& zip, const std::string& name, size_t offset, uint32_t value, size_t width = 4);

// A type without a scheme is one of the officeDocument relationship types;
// more is written into the element, e.g. a TargetMode.
std::string relationship(const std::string& id, const std::string& type, const std::string& target,
                         const std::string& more = "");
std::string relationships(const std::string& elements);

}  // namespace quillet::test
