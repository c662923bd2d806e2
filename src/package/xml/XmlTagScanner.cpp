#include "package/xml/XmlTagScanner.h"

#include "package/ByteSource.h"

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

// Bit i is set when data[at + i] is a quote, ">" or zero. A tag's stops are
// mostly a few bytes apart, so one block serves several of them.
unsigned tagStops(const unsigned char* data, size_t at)
{
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i hits = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('>')), _mm_cmpeq_epi8(block, _mm_set1_epi8('"'))),
        _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\'')), _mm_cmpeq_epi8(block, _mm_setzero_si128())));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
#else
    unsigned stops = 0;
    for (unsigned i = 0; i < 16; ++i) {
        const unsigned char c = data[at + i];
        if (c == '>' || c == '"' || c == '\'' || c == '\0')
            stops |= 1u << i;
    }
    return stops;
#endif
}

bool endsWith(const char* span, size_t length, const char* suffix)
{
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::memcmp(span + length - suffixLength, suffix, suffixLength) == 0;
}

}  // namespace

void XmlTagScanner::scan(ByteSource& source)
{
    capacity_ = kInitialCapacity;
    buffer_.assign(capacity_ + kPadding, '\0');
    dataLength_ = tokenStart_ = cursor_ = 0;
    inSingleQuote_ = inDoubleQuote_ = false;
    doctype_ = DoctypeScan();

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

// A document type declaration ends at the first ">" outside its quotes,
// comments and internal subset, whose own declarations hold ">" too. Its
// entities are never expanded.
bool XmlTagScanner::scanDoctype()
{
    const char* data = buffer_.data();
    DoctypeScan& scan = doctype_;
    size_t at = tokenStart_ + scan.offset;
    for (; at < dataLength_; ++at) {
        const char c = data[at];
        if (scan.inComment) {
            scan.inComment =
                !(c == '>' && at >= tokenStart_ + scan.commentFrom + 2 && data[at - 1] == '-' && data[at - 2] == '-');
        } else if (scan.quote != 0) {
            scan.quote = c == scan.quote ? 0 : scan.quote;
        } else if (c == '<') {
            if (dataLength_ - at < 4)
                break;  // too soon to tell a comment
            if (std::memcmp(data + at, "<!--", 4) == 0) {
                scan.inComment = true;
                at += 3;
                scan.commentFrom = at + 1 - tokenStart_;
            }
        } else if (c == '"' || c == '\'') {
            scan.quote = c;
        } else if (c == '[') {
            ++scan.depth;
        } else if (c == ']') {
            scan.depth = std::max(scan.depth - 1, 0);
        } else if (c == '>' && scan.depth == 0) {
            doctype_ = DoctypeScan();
            tokenStart_ = cursor_ = at + 1;
            return true;
        }
    }
    scan.offset = at - tokenStart_;
    cursor_ = dataLength_;
    return false;
}

bool XmlTagScanner::scanMarkup()
{
    const char* data = buffer_.data();
    const char* span = data + tokenStart_;
    if (dataLength_ - tokenStart_ < 4) {
        cursor_ = dataLength_;
        return false;
    }
    if (startsWith(span, dataLength_ - tokenStart_, "<!DO"))
        return scanDoctype();
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
    bool inDouble = inDoubleQuote_;
    bool inSingle = inSingleQuote_;
    for (size_t block = cursor_;; block += 16) {
        for (unsigned stops = tagStops(data, block); stops != 0; stops &= stops - 1) {
            const size_t at = block + static_cast<size_t>(__builtin_ctz(stops));
            const unsigned char c = data[at];
            if (c == '\0') {
                inDoubleQuote_ = inDouble;
                inSingleQuote_ = inSingle;
                cursor_ = dataLength_;
                return false;
            }
            if (inDouble) {
                inDouble = c != '"';
            } else if (inSingle) {
                inSingle = c != '\'';
            } else if (c == '>') {
                inDoubleQuote_ = inSingleQuote_ = false;
                cursor_ = at;
                accepter_.acceptTag(buffer_.data(), dataLength_, tokenStart_, at);
                tokenStart_ = cursor_ = at + 1;
                return true;
            } else if (c == '"') {
                inDouble = true;
            } else {
                inSingle = true;
            }
        }
    }
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
