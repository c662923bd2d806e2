#pragma once

#include <cstddef>

namespace quillet {

// Namespace ids: the high bits of every token.
enum class NameSpaceId : int {
    W = 0x10,
    V = 0x20,
    P = 0x21,
    Mc = 0x30,
    C = 0x31,
    Sml = 0x32,  // spreadsheet main, names without a prefix
    Xdr = 0x33,
    A = 0x41,
    R = 0x42,
    Dgm = 0x510,
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
