#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quillet {

// A file behind the C runtime's buffered stream: sources are opened "rb",
// outputs "wb". Not copyable; closing is idempotent.
class StdioFile {
public:
    StdioFile() = default;
    StdioFile(const std::string& path, const char* mode) { open(path, mode); }
    ~StdioFile() { close(); }
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;

    // Returns the errno of the open, 0 on success. A directory opened for
    // reading fails with EISDIR, so it is never mistaken for an empty source.
    int open(const std::string& path, const char* mode);
    int openError() const { return error_; }
    bool isOpen() const { return stream_ != nullptr; }
    const std::string& path() const { return path_; }

    // Bytes read; 0 when not open.
    size_t read(void* buffer, size_t count);
    // Bytes read at offset without moving the stream: one system call for a
    // run of sectors, and no seek before it.
    size_t readAt(int64_t offset, void* buffer, size_t count);
    // False once any write has failed; later writes are dropped, so the first
    // failure is the one reported.
    bool write(const void* bytes, size_t count);
    // UTF-16 units, written little-endian.
    bool writeWide(const char16_t* units, size_t count);
    // The errno of the first failed write, 0 when none failed.
    int writeError() const { return writeError_; }
    void seek(int64_t offset);
    // From the status call on the path, not the stream; -1 when it fails.
    int64_t size() const;
    // 0, or the errno of the first failed write or of the final flush.
    int close();
    void closeAndRemove();
    // For outputs: closes, and when a write or the close failed removes the
    // file and raises WriteError.
    void closeOutput();

private:
    std::string path_;
    std::FILE* stream_ = nullptr;
    int error_ = 0;
    int writeError_ = 0;
};

// The status call on the path succeeds (any kind of file system object).
bool pathExists(const std::string& path);

// Creates the output folder: one trailing separator is dropped and only the
// last level is made, so a missing parent fails. Empty paths fail.
bool makeFolder(const std::string& path);

}  // namespace quillet
