#pragma once

#include "package/xml/ElementHandler.h"

#include <memory>
#include <string>

namespace quillet {

class PackagePart;
class ZipArchive;

// The transitional twin of a Strict relationship type; any other type as it is.
std::string transitionalType(const std::string& type);

// One Relationship element: read from its attributes, it names a part by
// target. Strict types read as their transitional twins.
class Relationship : public DefaultElementStrHandler {
public:
    Relationship(ZipArchive* archive, const std::string& sourcePath);
    ~Relationship() override;
    Relationship(const Relationship&) = delete;
    Relationship& operator=(const Relationship&) = delete;

    void attribute(const std::string& name, const std::string& value) override;

    std::string id() const { return id_; }
    std::string type() const { return type_; }
    std::string target() const { return target_; }
    bool isExternal() const { return isExternal_; }
    // Null for an external target; else built on the first call and kept.
    PackagePart* getTargetPart();

private:
    std::string id_;
    std::string type_;
    std::string target_;
    ZipArchive* archive_;
    std::unique_ptr<PackagePart> targetPart_;
    bool isExternal_ = false;
    std::string sourcePath_;
};

}  // namespace quillet
