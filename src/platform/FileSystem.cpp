#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <sys/types.h>

namespace quillet::platform {

bool statPath(const std::string& path, FileStatus& status)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    status.size = static_cast<int64_t>(st.st_size);
    status.isDirectory = S_ISDIR(st.st_mode);
    return true;
}

int makeDirectory(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

int removeFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0 ? 0 : errno;
}

int renameFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace quillet::platform
