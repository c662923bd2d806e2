#include "ResultsLog.h"

#include "JsonLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace quillet::cli {

namespace {

// Several batches may share one output folder (one per partition of a
// cluster run), so every read-repair and append holds the file's lock.
class FileLock {
public:
    explicit FileLock(int fd) : fd_(fd)
    {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FileLock() { ::flock(fd_, LOCK_UN); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

}  // namespace

ResultsLog::~ResultsLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool ResultsLog::open(const std::string& path, bool resume, const std::vector<std::string>& paths, std::string& error)
{
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (resume ? 0 : O_TRUNC), 0666);
    if (fd_ < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!resume)
        return true;
    const FileLock lock(fd_);
    std::string content;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = "cannot read " + path + ": " + std::strerror(errno);
            return false;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    // A batch killed in the middle of a write may have left half a line.
    const size_t complete = content.rfind('\n') == std::string::npos ? 0 : content.rfind('\n') + 1;
    if (complete < content.size()) {
        content.resize(complete);
        if (::ftruncate(fd_, static_cast<off_t>(complete)) != 0) {
            error = "cannot repair " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    load(content, paths);
    return true;
}

void ResultsLog::load(const std::string& content, const std::vector<std::string>& paths)
{
    // A log shared by many batches holds far more records than one batch
    // asks about: lines starting with another path are passed over unparsed.
    static const std::string kHead = "{\"path\":\"";
    std::unordered_set<std::string> heads;
    for (const std::string& path : paths)
        heads.insert(kHead + JsonLine::escape(path) + '"');
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = std::min(content.find('\n', start), content.size());
        if (content.compare(start, kHead.size(), kHead) == 0) {
            size_t quote = start + kHead.size();
            while (quote < end && content[quote] != '"')
                quote += content[quote] == '\\' ? 2 : 1;
            if (quote >= end || heads.count(content.substr(start, quote + 1 - start)) == 0) {
                start = end + 1;
                continue;
            }
        }
        std::map<std::string, JsonLine::Value> fields;
        if (JsonLine::parse(content.substr(start, end - start), fields)) {
            const auto path = fields.find("path");
            const auto size = fields.find("size");
            const auto mtime = fields.find("mtime");
            const auto status = fields.find("status");
            if (path != fields.end() && path->second.isString && size != fields.end() && mtime != fields.end())
                known_[path->second.text] =
                    Stamp{size->second.text, mtime->second.isNull ? "null" : mtime->second.text,
                          status != fields.end() && status->second.isString ? status->second.text : std::string()};
        }
        start = end + 1;
    }
}

bool ResultsLog::recorded(const std::string& path, const std::string& size, const std::string& mtime,
                          const std::set<std::string>& retry) const
{
    const auto it = known_.find(path);
    return it != known_.end() && it->second.size == size && it->second.mtime == mtime &&
           retry.count(it->second.status) == 0;
}

bool ResultsLog::append(const std::string& line, std::string& error)
{
    const FileLock lock(fd_);
    const off_t before = ::lseek(fd_, 0, SEEK_END);
    size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd_, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int cause = n < 0 ? errno : ENOSPC;
            if (before >= 0 && ::ftruncate(fd_, before) != 0) {
                // Nothing more can be done; the reader drops an unfinished line.
            }
            error = "cannot write " + path_ + ": " + std::strerror(cause);
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace quillet::cli
