#pragma once

#include <string>

namespace quillet::platform {

// UTF-8 path to the narrow encoding the file functions take (the locale's;
// unchanged under a UTF-8 locale).
std::string utf8ToLocalPath(const std::string& utf8);

// A caller's path as this system's file functions want it. Callers written
// for Windows use "\" as a separator, so it is one here too.
std::string toNativePath(std::string path);

// folder + name, with the folder's own separator: none when it ends with
// "/" or "\\", else the first one it holds, "/" when it holds none.
std::string joinFolder(const std::string& folder, const std::string& name);

}  // namespace quillet::platform
