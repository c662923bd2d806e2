#pragma once

#include "package/ElementHandler.h"
#include "package/OxfrRelationship.h"

#include <memory>
#include <string>
#include <vector>

namespace quillet {

class OxfrPart;
class ZipArchive;

// The relationships of one part ("" for the package), read at construction
// from the part's relationship part; a missing one gives an empty list.
class OxfrRelationships : public DefaultElementStrHandler {
public:
    OxfrRelationships(ZipArchive* archive, const std::string& sourcePath);
    OxfrRelationships(const OxfrRelationships&) = delete;
    OxfrRelationships& operator=(const OxfrRelationships&) = delete;

    // Every child whose name ends in "Relationship" (prefixed or not).
    ElementStrHandler* getChildHandler(const std::string& name) override;

    int count() const { return static_cast<int>(entries_.size()); }
    // Null out of range.
    OxfrRelationship* at(int index) const;
    // The first in document order whose Id (or Type) is exactly this.
    OxfrRelationship* findById(const std::string& id) const;
    OxfrRelationship* findByType(const std::string& typeUri) const;

    const std::string& sourcePath() const { return sourcePath_; }

private:
    ZipArchive* archive_;
    std::string sourcePath_;
    std::vector<std::unique_ptr<OxfrRelationship>> entries_;
};

// The target part of the first relationship of that type; null when
// relationships is null, holds none of the type, or its target is external.
OxfrPart* firstTargetOfType(const OxfrRelationships* relationships, const std::string& typeUri);

}  // namespace quillet
