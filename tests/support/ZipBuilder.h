#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

// Writes ZIP archives for tests with minizip's zip writer, so that each edge
// case of an archive is spelled out in the test itself.
class ZipBuilder {
public:
    // Deflated unless stored is set.
    ZipBuilder& add(const std::string& name, const std::string& bytes, bool stored = false);
    // Raw deflate data with whatever sizes and CRC the test declares.
    ZipBuilder& addRaw(const std::string& name, const std::string& rawDeflate, uint64_t declaredSize,
                       uint32_t declaredCrc);
    // Throws std::runtime_error when minizip fails.
    void write(const std::string& path) const;
    std::string bytes() const;

private:
    struct Entry {
        std::string name;
        std::string data;
        bool stored = false;
        bool raw = false;
        uint64_t declaredSize = 0;
        uint32_t declaredCrc = 0;
    };
    std::vector<Entry> entries_;
};

// A raw deflate stream (no zlib header) of the bytes.
std::string rawDeflate(const std::string& bytes);
uint32_t crc32Of(const std::string& bytes);

// The three parts every OOXML package starts from, for the main part given.
std::string contentTypesXml();
std::string packageRelsXml(const std::string& mainPart);

}  // namespace quillet::test
