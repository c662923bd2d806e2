#include "package/zip/ZipArchive.h"

#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/LocalPath.h"
#include "platform/WriteError.h"

#include <minizip/unzip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unordered_set>

namespace quillet {
namespace {

constexpr int kCopyPieceSize = 8192;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

// After the last "/" unless that is the name's first byte.
std::string bareFileName(const std::string& name)
{
    const size_t slash = name.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return name;
    return name.substr(slash + 1);
}

int64_t fileSize(const std::string& path)
{
    platform::FileStatus status;
    return platform::statPath(path, status) ? status.size : 0;
}

}  // namespace

int ZipEntryStream::read(char* buffer, int count)
{
    if (!isCurrent())
        return UNZ_PARAMERROR;
    if (count <= 0)
        return 0;
    return unzReadCurrentFile(archive_.handle_, buffer, static_cast<unsigned>(count));
}

void ZipEntryStream::close()
{
    if (isCurrent())
        archive_.closeCurrent();
    closed_ = true;
}

bool ZipEntryStream::isCurrent() const
{
    return !closed_ && archive_.entryOpen_ && archive_.openSerial_ == serial_;
}

ZipArchive::ZipArchive(const std::string& path) : ZipArchive(path, MemoryBudget::forSourceSize(fileSize(path))) {}

ZipArchive::ZipArchive(const std::string& path, uint64_t budgetBytes) : path_(path), budget_(budgetBytes)
{
    handle_ = unzOpen64(path.c_str());
    if (handle_ != nullptr)
        buildIndex();
}

ZipArchive::~ZipArchive()
{
    if (handle_ != nullptr) {
        closeCurrent();
        unzClose(handle_);
    }
}

void ZipArchive::buildIndex()
{
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(handle_, &global) != UNZ_OK || global.number_entry == 0)
        return;
    // minizip leaves the first entry current after opening.
    for (uint64_t number = 1;; ++number) {
        char name[kMaxNameLength + 1] = {};
        unz_file_info64 info{};
        // minizip terminates the name only when it is shorter than the room given.
        if (unzGetCurrentFileInfo64(handle_, &info, name, kMaxNameLength, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        ZipEntryRecord record;
        record.name.assign(name, ::strnlen(name, kMaxNameLength));
        record.offset = unzGetOffset64(handle_);
        record.compressedSize = info.compressed_size;
        record.uncompressedSize = info.uncompressed_size;
        record.internalAttributes = static_cast<uint32_t>(info.internal_fa);
        record.externalAttributes = static_cast<uint32_t>(info.external_fa);
        const std::string key = record.name;
        index_.emplace(key, std::move(record));
        if (number >= global.number_entry || index_.size() >= kMaxEntries)
            break;
        if (unzGoToNextFile(handle_) != UNZ_OK)
            break;
    }
}

int64_t ZipArchive::entrySize(const std::string& name) const
{
    const auto found = index_.find(name);
    return found == index_.end() ? -1 : static_cast<int64_t>(found->second.uncompressedSize);
}

const ZipEntryRecord& ZipArchive::record(const std::string& name) const
{
    const auto found = index_.find(name);
    if (found == index_.end())
        throw std::out_of_range("invalid map<K, T> key");
    return found->second;
}

int ZipArchive::openCurrent(const ZipEntryRecord& record)
{
    closeCurrent();
    ++openSerial_;
    int result = unzSetOffset64(handle_, record.offset);
    if (result == UNZ_OK)
        result = unzOpenCurrentFile(handle_);
    entryOpen_ = result == UNZ_OK;
    return result;
}

void ZipArchive::closeCurrent()
{
    if (entryOpen_)
        unzCloseCurrentFile(handle_);
    entryOpen_ = false;
}

std::unique_ptr<ZipEntryStream> ZipArchive::openEntry(const std::string& name)
{
    const auto found = index_.find(name);
    if (found == index_.end())
        return nullptr;
    openCurrent(found->second);
    return std::make_unique<ZipEntryStream>(*this, openSerial_);
}

int ZipArchive::extractEntry(const std::string& name, const std::string& folder, int* createError)
{
    const ZipEntryRecord& entry = record(name);
    if (folder.empty())
        throw std::out_of_range("invalid string position");
    const int opened = openCurrent(entry);
    if (opened != UNZ_OK)
        return opened;
    ZipEntryStream stream(*this, openSerial_);

    const std::string path = platform::joinFolder(folder, bareFileName(name));
    OutputFile file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        if (createError != nullptr)
            *createError = errno != 0 ? errno : EIO;
        return -1;
    }
    char piece[kCopyPieceSize];
    int result = 0;
    int writeError = 0;
    for (;;) {
        const int count = stream.read(piece, kCopyPieceSize);
        if (count < 1) {
            result = count;
            break;
        }
        errno = 0;
        if (std::fwrite(piece, 1, static_cast<size_t>(count), file.get()) != static_cast<size_t>(count)) {
            writeError = errno != 0 ? errno : EIO;
            break;
        }
    }
    // Buffered writes can fail only now.
    errno = 0;
    if (std::fclose(file.release()) != 0 && writeError == 0)
        writeError = errno != 0 ? errno : EIO;
    if (writeError != 0) {
        std::remove(path.c_str());
        throw WriteError(writeError, path);
    }
    return result;
}

int ZipArchive::extractImages(const std::string& folder)
{
    int firstError = 0;
    for (const auto& [name, entry] : index_) {
        int createError = 0;
        if (isImageEntryName(name))
            extractEntry(name, folder, &createError);
        if (firstError == 0)
            firstError = createError;
    }
    return firstError;
}

bool isImageEntryName(const std::string& name)
{
    static const std::unordered_set<std::string> imageExtensions = {
        "jpg", "jpe", "jpeg", "png", "bmp", "gif", "ico", "tiff", "tif", "pcx", "tga", "exif", "fpx",
        "svg", "psd", "cdr",  "pcd", "dxf", "ufo", "eps", "ai",   "raw", "wmf", "emf", "tmp",
    };
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    return imageExtensions.count(asciiLower(name.substr(dot + 1))) != 0;
}

}  // namespace quillet
