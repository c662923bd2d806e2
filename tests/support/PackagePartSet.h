#pragma once

#include "package/zip/ZipArchive.h"
#include "support/TempDir.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace quillet::test {

// The entries of a package in the making: the standard parts that the
// builders fill, and overrides that replace or drop any of them.
class PackagePartSet {
public:
    void set(const std::string& name, const std::string& bytes) { entries_[name] = bytes; }
    void drop(const std::string& name) { dropped_[name] = true; }
    // Written in name order, after the overrides are applied.
    std::string zipBytes(const std::map<std::string, std::string>& generated) const;

    static std::string relationships(const std::string& relationshipElements);
    static std::string relationship(const std::string& id, const std::string& type, const std::string& target,
                                    bool external = false);

private:
    std::map<std::string, std::string> entries_;
    std::map<std::string, bool> dropped_;
};

// "1.txt" after an extractor's export of the package, nullopt when none was written.
template <class Extractor>
std::optional<std::string> extractPackage(const std::string& bytes, uint32_t flags)
{
    TempDir dir;
    writeFile(dir.file("in.zip"), bytes);
    std::filesystem::create_directory(dir.file("out"));
    ZipArchive archive(dir.file("in.zip"));
    Extractor().exportText(archive, dir.file("out"), flags);
    if (!fileExists(dir.file("out/1.txt")))
        return std::nullopt;
    return readFile(dir.file("out/1.txt"));
}

}  // namespace quillet::test
