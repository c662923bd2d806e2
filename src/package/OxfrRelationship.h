#pragma once

#include "package/ElementHandler.h"

#include <memory>
#include <string>

namespace quillet {

class OxfrPart;
class ZipArchive;

// One Relationship element: read from its attributes, it names a part by
// target. Strict-conformance types (http://purl.oclc.org...) all read as the
// package relationship namespace, so no reader finds them.
class OxfrRelationship : public DefaultElementStrHandler {
public:
    OxfrRelationship(ZipArchive* archive, const std::string& sourcePath);
    ~OxfrRelationship() override;
    OxfrRelationship(const OxfrRelationship&) = delete;
    OxfrRelationship& operator=(const OxfrRelationship&) = delete;

    void attribute(const std::string& name, const std::string& value) override;

    std::string id() const { return id_; }
    std::string type() const { return type_; }
    std::string target() const { return target_; }
    bool isExternal() const { return isExternal_; }
    // Null for an external target; else built on the first call and kept.
    OxfrPart* getTargetPart();

private:
    std::string id_;
    std::string type_;
    std::string target_;
    ZipArchive* archive_;
    std::unique_ptr<OxfrPart> targetPart_;
    bool isExternal_ = false;
    std::string sourcePath_;
};

}  // namespace quillet
