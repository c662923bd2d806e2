#pragma once

#include <string>
#include <tuple>
#include <vector>

namespace quillet::test {

// ZIP archives written by minizip, each entry deflated unless stored.
class ZipBuilder {
public:
    ZipBuilder& add(const std::string& name, const std::string& bytes, bool stored = false)
    {
        entries_.emplace_back(name, bytes, stored);
        return *this;
    }
    // Throws std::runtime_error when minizip fails.
    void write(const std::string& path) const;
    std::string bytes() const;

private:
    std::vector<std::tuple<std::string, std::string, bool>> entries_;
};

}  // namespace quillet::test
