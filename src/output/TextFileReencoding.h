#pragma once

#include <string>

namespace quillet {

// Rewrites the folder's "1.txt" from UTF-16LE to UTF-8, ending every line
// with CR LF. False when the text file could not be opened.
bool reencodeTextFileToUtf8(const std::string& folder);

}  // namespace quillet
