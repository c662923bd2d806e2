#pragma once

#include "package/xml/NameTable.h"

#include <cstddef>

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

// Turns one tag into its element token and attributes under a vocabulary.
class XmlTagParser {
public:
    explicit XmlTagParser(Vocabulary vocabulary)
        : vocabulary_(vocabulary), resolver_(NameResolver::forVocabulary(vocabulary))
    {
    }

    // Sets token() and the attribute area of the tag.
    void parseName(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd, TagKind kind);
    // Adds the known, well-quoted attributes of the last parsed tag to list.
    void parseAttributes(const char* buffer, size_t length, TagKind kind, AttributeList& list) const;
    int lookupName(const char* buffer, size_t length, size_t begin, size_t end) const;

    int token() const { return token_; }
    bool hasAttributeArea() const { return hasAttributes_; }
    Vocabulary vocabulary() const { return vocabulary_; }

private:
    Vocabulary vocabulary_;
    const NameResolver& resolver_;
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
