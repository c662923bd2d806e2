#pragma once

#include "package/ByteSource.h"
#include "package/MemoryBudget.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace quillet {

struct ZipEntryRecord {
    std::string name;
    // Position of the entry's central-directory record, to make it current again.
    uint64_t offset = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint32_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
};

class ZipArchive;

// Sequential reader of one entry's uncompressed bytes; it never delivers
// more than the entry's declared size. minizip keeps one current entry per
// archive, so opening another entry ends this stream: its reads then fail and
// its close does nothing. It must not outlive its archive.
class ZipEntryStream : public ByteSource {
public:
    ZipEntryStream(ZipArchive& archive, uint64_t serial) : archive_(archive), serial_(serial) {}
    ~ZipEntryStream() override { close(); }
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    // Bytes delivered, 0 at the end, or a negative minizip code.
    int read(char* buffer, int count) override;
    // A CRC mismatch reported here is ignored: the bytes read stand.
    void close();

private:
    bool isCurrent() const;

    ZipArchive& archive_;
    uint64_t serial_;
    bool closed_ = false;
};

// An opened ZIP archive with the index of its entries. A file that is not a
// readable archive gives an empty index; nothing here throws for bad input.
class ZipArchive {
public:
    // The budget follows the file's size.
    explicit ZipArchive(const std::string& path);
    ZipArchive(const std::string& path, uint64_t budgetBytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    // What the structures read from this package may still hold.
    MemoryBudget& budget() { return budget_; }
    // The file opened; a second archive on it reads entries while this one
    // streams another.
    const std::string& path() const { return path_; }
    const std::map<std::string, ZipEntryRecord>& index() const { return index_; }

    // Names are compared as raw bytes; of two entries with one name the first counts.
    bool hasEntry(const std::string& name) const { return index_.count(name) != 0; }
    // The declared uncompressed size, or -1 for a missing entry.
    int64_t entrySize(const std::string& name) const;
    // Null for a missing entry. Positioning or opening errors show up as a
    // negative result of the first read.
    std::unique_ptr<ZipEntryStream> openEntry(const std::string& name);

    // Writes the entry under its bare file name into folder: 0 after a complete
    // copy, a negative minizip code, or -1 when the file cannot be created
    // (createError, when given, then receives the error number). A failed
    // write removes the file and raises WriteError. A name missing from the
    // index, or an empty folder, raises std::out_of_range.
    int extractEntry(const std::string& name, const std::string& folder, int* createError = nullptr);
    // Every entry whose extension names a picture, in name order. Returns 0,
    // or the error number of the first picture file that could not be created.
    int extractImages(const std::string& folder);

    // Longer names are cut to this many bytes.
    static constexpr size_t kMaxNameLength = 255;
    // The index stops growing here; no real package comes near it.
    static constexpr size_t kMaxEntries = size_t(1) << 18;

private:
    friend class ZipEntryStream;

    void buildIndex();
    const ZipEntryRecord& record(const std::string& name) const;
    // Makes the entry current and opens it; a minizip code.
    int openCurrent(const ZipEntryRecord& record);
    void closeCurrent();

    std::string path_;
    void* handle_ = nullptr;
    std::map<std::string, ZipEntryRecord> index_;
    // Identifies the entry opened last, so that a stream can tell it was ended.
    uint64_t openSerial_ = 0;
    bool entryOpen_ = false;
    MemoryBudget budget_;
};

// True when the text after the name's last "." is, ignoring ASCII case, one
// of the picture extensions.
bool isImageEntryName(const std::string& name);

}  // namespace quillet
