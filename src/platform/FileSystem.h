#pragma once

#include <cstdint>
#include <string>

namespace quillet::platform {

struct FileStatus {
    int64_t size = 0;
    bool isDirectory = false;
};

// The status call on a path; false when the path names nothing reachable.
bool statPath(const std::string& path, FileStatus& status);

// Creates one folder level. Returns 0 or the errno of the failure.
int makeDirectory(const std::string& path);

// 0 or the errno of the failure.
int removeFile(const std::string& path);
int renameFile(const std::string& from, const std::string& to);

}  // namespace quillet::platform
