#pragma once

#include <string>

namespace quillet {

// The relationship part of a part: word/document.xml gives
// word/_rels/document.xml.rels, the package itself ("") gives _rels/.rels.
std::string relationshipPartPath(const std::string& sourcePath);

// The entry name a relationship target names, seen from the part that holds
// the relationship: relative targets resolve against that part's folder with
// every "." and ".." segment applied; absolute ones ("/xl/...") name the entry
// without the leading "/".
std::string resolveTarget(const std::string& sourcePath, const std::string& target);

}  // namespace quillet
