#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// "1.txt" in the folder, joined with the folder's own separator: none when it
// ends with one, else the first "\" or "/" it holds, else "/".
std::string textFilePath(const std::string& folder);

// Beside "1.txt": its text as UTF-8 lines while it is being written.
std::string textDraftPath(const std::string& folder);

// Beside "1.txt": what the export learnt of the document, as JSON.
std::string recordFilePath(const std::string& folder);

// "image" + index + extension (with its dot) in the folder, joined the same way.
std::string picturePath(const std::string& folder, int64_t index, const std::string& extension);

}  // namespace quillet
