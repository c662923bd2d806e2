#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class OxfrRelationships;
class ZipArchive;

// A part of the package reached through a relationship.
class OxfrPart {
public:
    OxfrPart(ZipArchive* archive, std::string path);
    ~OxfrPart();
    OxfrPart(const OxfrPart&) = delete;
    OxfrPart& operator=(const OxfrPart&) = delete;

    ZipArchive* archive() const { return archive_; }
    // The entry name.
    const std::string& path() const { return path_; }
    // Read on the first call and kept.
    OxfrRelationships* relationships();
    // The entry's declared size, -1 when the archive lacks it.
    int64_t size() const;

private:
    ZipArchive* archive_;
    std::string path_;
    std::unique_ptr<OxfrRelationships> relationships_;
};

}  // namespace quillet
