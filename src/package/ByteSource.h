#pragma once

#include <cstddef>

namespace quillet {

// Something the XML scanner can pull bytes from: a ZIP entry, or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Bytes delivered (at most count), 0 at the end, or a negative error code.
    virtual int read(char* buffer, int count) = 0;
};

// Bytes held by the caller, handed out in pieces of at most pieceSize (0: no
// limit), so that tests can split the input at any point.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const char* data, size_t size, size_t pieceSize = 0)
        : data_(data), size_(size), pieceSize_(pieceSize)
    {
    }

    int read(char* buffer, int count) override;

private:
    const char* data_;
    size_t size_;
    size_t pieceSize_;
    size_t position_ = 0;
};

}  // namespace quillet
