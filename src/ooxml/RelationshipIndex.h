#pragma once

#include "package/opc/RelationshipList.h"

#include <string>
#include <unordered_map>

namespace quillet {

// findById in constant time: a workbook or presentation may name thousands
// of parts, and a linear search for each would make the walk quadratic.
class RelationshipIndex {
public:
    explicit RelationshipIndex(const RelationshipList* relationships)
    {
        const int count = relationships != nullptr ? relationships->count() : 0;
        byId_.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            Relationship* one = relationships->at(i);
            byId_.emplace(one->id(), one);  // the first of an Id wins
        }
    }

    // The target part of the relationship with this Id; null when there is
    // none, or it is external.
    PackagePart* targetPart(const std::string& id) const
    {
        const auto found = byId_.find(id);
        return found != byId_.end() ? found->second->getTargetPart() : nullptr;
    }

private:
    std::unordered_map<std::string, Relationship*> byId_;
};

}  // namespace quillet
