#pragma once

#include <cstddef>

namespace quillet {

// Namespace ids: the high bits of every token.
enum class NameSpaceId : int {
#define QUILLET_NAMESPACE(ns, Id, value) Id = (value),
#define N(name)
#define K(name)
#define QUILLET_NAMESPACE_END(ns)
#include "package/xml/XmlNames.def"
};

struct NameList {
    NameSpaceId namespaceId;
    const char* const* names;
    size_t count;
};

// In the order the tables are built; a name's index is its number.
extern const NameList kNameLists[];
extern const size_t kNameListCount;

}  // namespace quillet
