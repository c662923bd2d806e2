#include "package/XmlTagScanner.h"

#include "package/ByteSource.h"
#include "package/ZipArchive.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {
namespace {

bool startsWith(const char* span, size_t length, const char* prefix)
{
    const size_t prefixLength = std::strlen(prefix);
    return length >= prefixLength && std::memcmp(span, prefix, prefixLength) == 0;
}

// The searches below read whole 16-byte blocks; the buffer has this much
// room past its capacity, so that no block leaves it.
constexpr size_t kPadding = 16;

// The first quote, ">" or zero byte at or after at; the zero byte after
// the data ends every search.
size_t nextTagStop(const unsigned char* data, size_t at)
{
#if defined(__SSE2__)
    const __m128i close = _mm_set1_epi8('>');
    const __m128i doubleQuote = _mm_set1_epi8('"');
    const __m128i singleQuote = _mm_set1_epi8('\'');
    const __m128i zero = _mm_setzero_si128();
    for (;; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, close), _mm_cmpeq_epi8(block, doubleQuote)),
                                          _mm_or_si128(_mm_cmpeq_epi8(block, singleQuote), _mm_cmpeq_epi8(block, zero)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#else
    while (data[at] != '>' && data[at] != '"' && data[at] != '\'' && data[at] != '\0')
        ++at;
    return at;
#endif
}

// The first byte at or after at that is the quote or zero.
size_t nextQuoteOrEnd(const unsigned char* data, size_t at, char quote)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(quote);
    const __m128i zero = _mm_setzero_si128();
    for (;; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, wanted), _mm_cmpeq_epi8(block, zero)));
        if (mask != 0)
            return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#else
    while (data[at] != static_cast<unsigned char>(quote) && data[at] != '\0')
        ++at;
    return at;
#endif
}

bool endsWith(const char* span, size_t length, const char* suffix)
{
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::memcmp(span + length - suffixLength, suffix, suffixLength) == 0;
}

}  // namespace

void XmlTagScanner::scan(ZipArchive& archive, const std::string& entryName)
{
    std::unique_ptr<ZipEntryStream> stream = archive.openEntry(entryName);
    if (!stream)
        return;
    scan(*stream);
    stream->close();
}

void XmlTagScanner::scan(ByteSource& source)
{
    capacity_ = kInitialCapacity;
    buffer_.assign(capacity_ + kPadding, '\0');
    dataLength_ = tokenStart_ = cursor_ = 0;
    inSingleQuote_ = inDoubleQuote_ = false;

    for (;;) {
        char* free = buffer_.data() + dataLength_;
        const int count = source.read(free, static_cast<int>(capacity_ - dataLength_));
        if (count <= 0)
            break;
        const size_t received = std::min(static_cast<size_t>(count), capacity_ - dataLength_);
        // Zero bytes do not occur in UTF-8 XML; a part in UTF-16 stops here.
        if (std::memchr(free, '\0', received) != nullptr)
            break;
        dataLength_ += received;
        buffer_[dataLength_] = '\0';
        scanPieces();
        // A piece that fills the largest buffer ends the part.
        if (tokenStart_ == 0 && dataLength_ == capacity_ && capacity_ >= kPieceLimit)
            break;
        compact();
    }
    std::vector<char>().swap(buffer_);
}

void XmlTagScanner::scanPieces()
{
    while (cursor_ < dataLength_) {
        const char* data = buffer_.data();
        if (data[tokenStart_] != '<') {
            const void* next = std::memchr(data + cursor_, '<', dataLength_ - cursor_);
            if (next == nullptr) {
                cursor_ = dataLength_;
                return;
            }
            cursor_ = static_cast<size_t>(static_cast<const char*>(next) - data);
            accepter_.acceptText(data, dataLength_, tokenStart_, cursor_ - 1, true);
            tokenStart_ = cursor_;
            continue;
        }
        // The byte after "<" tells a tag from a markup declaration.
        if (tokenStart_ + 1 >= dataLength_) {
            cursor_ = dataLength_;
            return;
        }
        const char second = data[tokenStart_ + 1];
        const bool complete = (second == '!' || second == '?') ? scanMarkup() : scanTag();
        if (!complete)
            return;
    }
}

bool XmlTagScanner::scanMarkup()
{
    const char* data = buffer_.data();
    const char* span = data + tokenStart_;
    cursor_ = std::max(cursor_, tokenStart_ + 2);
    for (;;) {
        const void* next = std::memchr(data + cursor_, '>', dataLength_ - cursor_);
        if (next == nullptr) {
            cursor_ = dataLength_;
            return false;
        }
        cursor_ = static_cast<size_t>(static_cast<const char*>(next) - data);
        const size_t length = cursor_ - tokenStart_ + 1;
        bool done = true;
        if (span[1] == '?') {
            done = length >= 4;
        } else if (startsWith(span, length, "<!DO")) {
            done = length >= 11;
        } else if (startsWith(span, length, "<!--")) {
            // "<!---->" is the shortest comment.
            done = length >= 7 && endsWith(span, length, "-->");
        } else if (startsWith(span, length, "<![")) {
            // "<![CDATA[]]>" is the shortest section; an empty one gives no text.
            done = length >= 12 && endsWith(span, length, "]]>");
            if (done && length > 12)
                accepter_.acceptText(data, dataLength_, tokenStart_ + 9, cursor_ - 3, false);
        } else {
            done = false;
        }
        if (done) {
            tokenStart_ = cursor_ = cursor_ + 1;
            return true;
        }
        ++cursor_;
    }
}

bool XmlTagScanner::scanTag()
{
    // The zero byte after the data stops every search.
    const unsigned char* data = reinterpret_cast<const unsigned char*>(buffer_.data());
    size_t at = cursor_;
    for (;;) {
        if (inDoubleQuote_ || inSingleQuote_) {
            at = nextQuoteOrEnd(data, at, inDoubleQuote_ ? '"' : '\'');
            if (data[at] == '\0')
                break;
            inDoubleQuote_ = inSingleQuote_ = false;
            ++at;
            continue;
        }
        at = nextTagStop(data, at);
        const unsigned char c = data[at];
        if (c == '\0')
            break;
        if (c == '>') {
            cursor_ = at;
            accepter_.acceptTag(buffer_.data(), dataLength_, tokenStart_, at);
            tokenStart_ = cursor_ = at + 1;
            return true;
        }
        if (c == '"')
            inDoubleQuote_ = true;
        else
            inSingleQuote_ = true;
        ++at;
    }
    cursor_ = dataLength_;
    return false;
}

void XmlTagScanner::compact()
{
    if (tokenStart_ == dataLength_) {
        dataLength_ = tokenStart_ = cursor_ = 0;
        buffer_[0] = '\0';
        return;
    }
    const size_t kept = dataLength_ - tokenStart_;
    if (kept > capacity_ / 2 && capacity_ < kPieceLimit) {
        std::vector<char> grown(capacity_ * 2 + kPadding, '\0');
        std::memcpy(grown.data(), buffer_.data() + tokenStart_, kept);
        buffer_.swap(grown);
        capacity_ *= 2;
    } else if (tokenStart_ != 0) {
        std::memmove(buffer_.data(), buffer_.data() + tokenStart_, kept);
    }
    dataLength_ = kept;
    cursor_ -= tokenStart_;
    tokenStart_ = 0;
    buffer_[dataLength_] = '\0';
}

}  // namespace quillet
