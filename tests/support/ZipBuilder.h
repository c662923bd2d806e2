#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

// ZIP archives written by minizip, each entry deflated unless stored.
class ZipBuilder {
public:
    ZipBuilder& add(const std::string& name, const std::string& bytes, bool stored = false)
    {
        entries_.push_back({name, bytes, stored, -1});
        return *this;
    }
    // Deflated, with this uncompressed size recorded instead of the real one.
    ZipBuilder& addDeclared(const std::string& name, const std::string& bytes, int64_t declaredSize)
    {
        entries_.push_back({name, bytes, false, declaredSize});
        return *this;
    }
    // Throws std::runtime_error when minizip fails.
    void write(const std::string& path) const;
    std::string bytes() const;

private:
    struct Entry {
        std::string name, bytes;
        bool stored;
        int64_t declaredSize;  // -1: the real size
    };
    std::vector<Entry> entries_;
};

}  // namespace quillet::test
