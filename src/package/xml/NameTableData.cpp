#include "package/xml/NameTableData.h"

#include <iterator>

namespace quillet {
namespace {

// clang-format off
#define QUILLET_NAMESPACE(ns, Id, value) const char* const ns##Names[] = {
#define N(name) #name,
#define K(name) #name,
#define QUILLET_NAMESPACE_END(ns) };
// clang-format on
#include "package/xml/XmlNames.def"

}  // namespace

const NameList kNameLists[] = {
#define QUILLET_NAMESPACE(ns, Id, value) {NameSpaceId::Id, ns##Names, std::size(ns##Names)},
#define N(name)
#define K(name)
#define QUILLET_NAMESPACE_END(ns)
#include "package/xml/XmlNames.def"
};

const size_t kNameListCount = std::size(kNameLists);

}  // namespace quillet
