#pragma once

#include <map>
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
    static std::string officeType(const std::string& name);

private:
    std::map<std::string, std::string> entries_;
    std::map<std::string, bool> dropped_;
};

}  // namespace quillet::test
