#pragma once

#include "package/xml/NameTable.h"

#include <cstddef>
#include <cstdint>

namespace quillet {

class AttributeList;

enum TagKind : int {
    Invalid = -1,
    Open = 0,                 // <name>
    OpenWithAttributes = 1,   // a start tag holding a space
    Empty = 2,                // <name/>
    EmptyWithAttributes = 3,  // an empty-element tag holding a space
    Close = 4,                // </name>
};

// Only the space character (0x20) marks the "with attributes" kinds.
TagKind classifyTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd);

// The tokens of short names seen lately, keyed by their bytes: a large part
// repeats a few names (c, v, row, r) hundreds of thousands of times, and a
// hit costs a compare where a lookup hashes and probes.
class RecentNames {
public:
    static constexpr size_t kLongest = 8;

    // The name's bytes as a number; only for lengths 1 to kLongest.
    static uint64_t key(const char* name, size_t length)
    {
        uint64_t key = 0;
        for (size_t i = 0; i < length; ++i)
            key |= uint64_t(static_cast<unsigned char>(name[i])) << (8 * i);
        return key;
    }
    const int* find(uint64_t key, size_t length) const
    {
        const Entry& entry = entries_[slot(key, length)];
        return entry.key == key && entry.length == length ? &entry.token : nullptr;
    }
    void remember(uint64_t key, size_t length, int token) { entries_[slot(key, length)] = {key, length, token}; }

private:
    struct Entry {
        uint64_t key = 0;
        size_t length = 0;  // 0: unused
        int token = -1;
    };
    static size_t slot(uint64_t key, size_t length) { return ((key + length) * 0x9E3779B97F4A7C15ull) >> 60; }

    Entry entries_[16];
};

// Turns one tag into its element token and attributes under a vocabulary.
class XmlTagParser {
public:
    explicit XmlTagParser(Vocabulary vocabulary)
        : vocabulary_(vocabulary), resolver_(NameResolver::forVocabulary(vocabulary))
    {
    }

    // classifyTag and parseName in one pass over the name, with the same results.
    TagKind parseTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd);
    // Sets token() and the attribute area of the tag.
    void parseName(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd, TagKind kind);
    // Adds the known, well-quoted attributes of the last parsed tag to list;
    // only those of wanted (tokens ending in -1) when it is not null.
    void parseAttributes(const char* buffer, size_t length, TagKind kind, AttributeList& list,
                         const int* wanted = nullptr) const;
    int lookupName(const char* buffer, size_t length, size_t begin, size_t end) const;
    // The token of a name without whitespace, through the recent names.
    int lookupPlainName(const char* name, size_t length) const;

    int token() const { return token_; }
    bool hasAttributeArea() const { return hasAttributes_; }
    Vocabulary vocabulary() const { return vocabulary_; }

private:
    Vocabulary vocabulary_;
    const NameResolver& resolver_;
    mutable RecentNames recent_;
    int token_ = -1;
    bool hasAttributes_ = false;
    size_t attributesBegin_ = 0;
    size_t attributesEnd_ = 0;  // inclusive
};

// Calls visit(nameBegin, nameEnd, valueBegin, valueEnd) (inclusive ends; the
// value without its quotes, an empty one with valueBegin > valueEnd) for every
// attribute of [begin, end] that has the form name="value" or name='value'.
// Attributes are separated by whitespace outside quotes; whitespace before
// "=" is allowed, after it the attribute is dropped. The name is returned
// without trailing whitespace.
namespace detail {
// 1 quote, 2 whitespace, 3 "=", 0 anything else.
constexpr unsigned char attributeByteClass(unsigned char c)
{
    return c == '"' || c == '\'' ? 1 : c == ' ' || c == '\t' || c == '\r' || c == '\n' ? 2 : c == '=' ? 3 : 0;
}
}  // namespace detail

template <typename Visit>
void forEachAttribute(const char* buffer, size_t begin, size_t end, Visit&& visit)
{
    constexpr size_t none = static_cast<size_t>(-1);
    size_t at = begin;
    while (at <= end) {
        while (at <= end && isXmlWhitespace(buffer[at]))
            ++at;
        if (at > end)
            break;
        const size_t start = at;
        size_t equals = none;  // the first "=", quoted or not
        while (at <= end) {
            const unsigned char c = static_cast<unsigned char>(buffer[at]);
            const unsigned char kind = detail::attributeByteClass(c);
            if (kind == 0) {
                ++at;
            } else if (kind == 3) {
                if (equals == none)
                    equals = at;
                ++at;
            } else if (kind == 1) {
                // The other kind of quote is plain text in here.
                size_t close = at + 1;
                while (close <= end && buffer[close] != static_cast<char>(c)) {
                    if (buffer[close] == '=' && equals == none)
                        equals = close;
                    ++close;
                }
                at = close <= end ? close + 1 : end + 1;
            } else {
                // Whitespace before "=" stays inside the attribute.
                size_t next = at;
                while (next <= end && isXmlWhitespace(buffer[next]))
                    ++next;
                if (next > end || buffer[next] != '=')
                    break;
                at = next;
            }
        }
        size_t last = at - 1;
        if (equals == none || equals == start)
            continue;
        while (last > equals && isXmlWhitespace(buffer[last]))
            --last;
        if (last < equals + 2)
            continue;
        const char quote = buffer[equals + 1];
        if ((quote != '"' && quote != '\'') || buffer[last] != quote)
            continue;
        size_t nameEnd = equals - 1;
        while (nameEnd > start && isXmlWhitespace(buffer[nameEnd]))
            --nameEnd;
        visit(start, nameEnd, equals + 2, last - 1);
    }
}

}  // namespace quillet
