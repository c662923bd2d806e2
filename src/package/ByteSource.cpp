#include "package/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace quillet {

int MemoryByteSource::read(char* buffer, int count)
{
    if (count <= 0)
        return 0;
    size_t take = std::min(static_cast<size_t>(count), size_ - position_);
    if (pieceSize_ != 0)
        take = std::min(take, pieceSize_);
    if (take != 0)
        std::memcpy(buffer, data_ + position_, take);
    position_ += take;
    return static_cast<int>(take);
}

}  // namespace quillet
