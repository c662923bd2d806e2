#pragma once

#include "package/opc/Relationship.h"
#include "package/xml/ElementHandler.h"

#include <memory>
#include <string>
#include <vector>

namespace quillet {

class PackagePart;
class ZipArchive;

// The relationships of one part ("" for the package), read at construction
// from the part's relationship part; a missing one gives an empty list. The
// entries are charged to the archive's budget (BudgetExceeded past it).
class RelationshipList : public DefaultElementStrHandler {
public:
    RelationshipList(ZipArchive* archive, const std::string& sourcePath);
    RelationshipList(const RelationshipList&) = delete;
    RelationshipList& operator=(const RelationshipList&) = delete;

    // Every child whose name ends in "Relationship" (prefixed or not).
    ElementStrHandler* getChildHandler(const std::string& name) override;

    int count() const { return static_cast<int>(entries_.size()); }
    // Null out of range.
    Relationship* at(int index) const;
    // The first in document order whose Id (or Type) is exactly this.
    Relationship* findById(const std::string& id) const;
    Relationship* findByType(const std::string& typeUri) const;

    const std::string& sourcePath() const { return sourcePath_; }

private:
    void chargeLastEntry();

    ZipArchive* archive_;
    std::string sourcePath_;
    std::vector<std::unique_ptr<Relationship>> entries_;
};

// The target part of the first relationship of that type; null when
// relationships is null, holds none of the type, or its target is external.
PackagePart* firstTargetOfType(const RelationshipList* relationships, const std::string& typeUri);

}  // namespace quillet
