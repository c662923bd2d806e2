#pragma once

#include "package/NameTable.h"

#include <cstddef>

namespace quillet {

class XmlRoAttrList;

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

inline bool isXmlWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Turns one tag into its element token and attributes under a vocabulary.
class XmlTagParser {
public:
    explicit XmlTagParser(Vocabulary vocabulary) : vocabulary_(vocabulary) {}

    // Sets token() and the attribute area of the tag.
    void parseName(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd, TagKind kind);
    // Adds the known, well-quoted attributes of the last parsed tag to list.
    void parseAttributes(const char* buffer, size_t length, TagKind kind, XmlRoAttrList& list) const;
    int lookupName(const char* buffer, size_t length, size_t begin, size_t end) const;

    int token() const { return token_; }
    bool hasAttributeArea() const { return hasAttributes_; }
    Vocabulary vocabulary() const { return vocabulary_; }

private:
    Vocabulary vocabulary_;
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
template <typename Visit>
void forEachAttribute(const char* buffer, size_t begin, size_t end, Visit&& visit)
{
    size_t at = begin;
    while (at <= end) {
        while (at <= end && isXmlWhitespace(buffer[at]))
            ++at;
        if (at > end)
            break;
        const size_t start = at;
        bool single = false;
        bool dbl = false;
        for (; at <= end; ++at) {
            const char c = buffer[at];
            if (c == '"') {
                if (!single)
                    dbl = !dbl;
            } else if (c == '\'') {
                if (!dbl)
                    single = !single;
            } else if (isXmlWhitespace(c) && !single && !dbl) {
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
        size_t equals = start;
        while (equals <= last && buffer[equals] != '=')
            ++equals;
        while (last > equals && isXmlWhitespace(buffer[last]))
            --last;
        if (equals > last || equals == start || last < equals + 2)
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
