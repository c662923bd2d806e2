#include "OutputFolders.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillet::cli {

namespace {

constexpr size_t kMaxStemBytes = 48;
constexpr int kHashBytes = 10;

bool isSafe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
}

// Removes what the open folder fd holds; depth is bounded by the file system.
void emptyFolder(int fd)
{
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    for (const std::string& name : names) {
        if (::unlinkat(fd, name.c_str(), 0) == 0 || (errno != EISDIR && errno != EPERM))
            continue;
        const int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0)
            emptyFolder(child);
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    ::closedir(folder);
}

}  // namespace

std::string OutputFolders::nameFor(const std::string& absolutePath)
{
    const size_t slash = absolutePath.find_last_of('/');
    std::string stem = absolutePath.substr(slash == std::string::npos ? 0 : slash + 1);
    for (char& c : stem)
        if (!isSafe(c))
            c = '_';
    if (stem.size() > kMaxStemBytes)
        stem.resize(kMaxStemBytes);
    if (stem.empty() || stem[0] == '.')
        stem.insert(0, "_");
    const QByteArray digest = QCryptographicHash::hash(
        QByteArray(absolutePath.data(), static_cast<int>(absolutePath.size())), QCryptographicHash::Sha256);
    return stem + "-" + digest.left(kHashBytes).toHex().toStdString();
}

void OutputFolders::removeTree(const std::string& path)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        emptyFolder(fd);
    ::rmdir(path.c_str());
}

bool OutputFolders::makePath(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (::mkdir(path.substr(0, slash).c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string OutputFolders::absolute(const std::string& path)
{
    std::string joined = path;
    if (path.empty() || path[0] != '/') {
        std::vector<char> buffer(4096);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE || buffer.size() > (1u << 20))
                return path;
            buffer.resize(buffer.size() * 2);
        }
        joined = std::string(buffer.data()) + "/" + path;
    }
    std::string clean;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string part = joined.substr(start, end - start);
        struct stat info {};
        if (part == ".." && !clean.empty() && ::lstat(clean.c_str(), &info) == 0 && !S_ISLNK(info.st_mode))
            clean.erase(clean.rfind('/'));  // "x/.." is x's parent unless x is a link
        else if (!part.empty() && part != ".")
            clean += "/" + part;
        start = end + 1;
    }
    return clean.empty() ? "/" : clean;
}

}  // namespace quillet::cli
