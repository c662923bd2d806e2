#pragma once

// Tokens of the known element and attribute names (XmlNames.def): token::w::p
// is the element p of the word-processing namespace. Names that are C++
// keywords carry a trailing underscore.

namespace quillet::token {

// clang-format off
#define QUILLET_NAMESPACE(ns, Id, value) namespace ns { enum : int { before_ = ((value) << 12) - 1,
#define N(name) name,
#define K(name) name##_,
#define QUILLET_NAMESPACE_END(ns) }; }
// clang-format on
#include "package/xml/XmlNames.def"

}  // namespace quillet::token
