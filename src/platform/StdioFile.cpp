#include "platform/StdioFile.h"

#include "platform/FileSystem.h"
#include "platform/WriteError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16 units are written in host order");

namespace quillet {

int StdioFile::open(const std::string& path, const char* mode)
{
    close();
    path_ = path;
    errno = 0;
    if (mode[0] == 'r') {
        // Without O_NONBLOCK, opening a FIFO that has no writer waits forever;
        // regular files ignore the flag, and special files then read as empty.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        stream_ = fd < 0 ? nullptr : ::fdopen(fd, mode);
        if (fd >= 0 && stream_ == nullptr)
            ::close(fd);
    } else {
        stream_ = std::fopen(path.c_str(), mode);
    }
    if (stream_ == nullptr) {
        error_ = errno != 0 ? errno : EINVAL;
        return error_;
    }
    struct stat st {};
    if (::fstat(::fileno(stream_), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(stream_);
        stream_ = nullptr;
        error_ = EISDIR;
        return error_;
    }
    error_ = 0;
    return 0;
}

size_t StdioFile::read(void* buffer, size_t count)
{
    if (stream_ == nullptr || count == 0)
        return 0;
    return std::fread(buffer, 1, count, stream_);
}

size_t StdioFile::readAt(int64_t offset, void* buffer, size_t count)
{
    if (stream_ == nullptr || offset < 0)
        return 0;
    const int fd = ::fileno(stream_);
    size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd, static_cast<char*>(buffer) + got, count - got,
                                  static_cast<off_t>(offset) + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

bool StdioFile::write(const void* bytes, size_t count)
{
    if (stream_ == nullptr || writeError_ != 0)
        return false;
    errno = 0;
    if (count > 0 && std::fwrite(bytes, 1, count, stream_) != count)
        writeError_ = errno != 0 ? errno : EIO;
    return writeError_ == 0;
}

bool StdioFile::writeWide(const char16_t* units, size_t count)
{
    return write(units, count * sizeof(char16_t));
}

void StdioFile::seek(int64_t offset)
{
    if (stream_ != nullptr)
        ::fseeko(stream_, static_cast<off_t>(offset), SEEK_SET);
}

int64_t StdioFile::size() const
{
    platform::FileStatus status;
    return platform::statPath(path_, status) ? status.size : -1;
}

int StdioFile::close()
{
    if (stream_ == nullptr)
        return 0;
    errno = 0;
    const int result = std::fclose(stream_);
    stream_ = nullptr;
    if (writeError_ == 0 && result != 0)
        writeError_ = errno != 0 ? errno : EIO;
    return writeError_;
}

void StdioFile::closeAndRemove()
{
    if (stream_ == nullptr)
        return;
    close();
    platform::removeFile(path_);
}

void StdioFile::closeOutput()
{
    if (stream_ == nullptr)
        return;
    if (const int error = close()) {
        platform::removeFile(path_);
        throw WriteError(error, path_);
    }
}

bool pathExists(const std::string& path)
{
    platform::FileStatus status;
    return platform::statPath(path, status);
}

bool makeFolder(const std::string& path)
{
    if (path.empty())
        return false;
    std::string folder = path;
    if (folder.back() == '/' || folder.back() == '\\')
        folder.pop_back();
    std::replace(folder.begin(), folder.end(), '\\', '/');
    if (folder.empty())
        return false;
    return platform::makeDirectory(folder) == 0;
}

}  // namespace quillet
