#pragma once

#include <string>

namespace quillet {

// Rewrites the folder's "1.txt" from UTF-16LE to UTF-8, ending every line
// with CR LF. False when the text file could not be opened. When the new
// file cannot be written whole, or not put in the old one's place, neither
// file stays and WriteError is raised.
bool reencodeTextFileToUtf8(const std::string& folder);

}  // namespace quillet
