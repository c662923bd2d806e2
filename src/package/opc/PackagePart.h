#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class RelationshipList;
class ZipArchive;

// A part of the package reached through a relationship.
class PackagePart {
public:
    PackagePart(ZipArchive* archive, std::string path);
    ~PackagePart();
    PackagePart(const PackagePart&) = delete;
    PackagePart& operator=(const PackagePart&) = delete;

    ZipArchive* archive() const { return archive_; }
    // The entry name.
    const std::string& path() const { return path_; }
    // Read on the first call and kept.
    RelationshipList* relationships();
    // The entry's declared size, -1 when the archive lacks it.
    int64_t size() const;

private:
    ZipArchive* archive_;
    std::string path_;
    std::unique_ptr<RelationshipList> relationships_;
};

}  // namespace quillet
