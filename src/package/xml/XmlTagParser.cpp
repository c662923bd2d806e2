#include "package/xml/XmlTagParser.h"

#include "package/xml/AttributeList.h"
#include "package/xml/XmlText.h"

#include <cstring>

namespace quillet {
namespace {

size_t rangeLength(size_t begin, size_t end)
{
    return end >= begin ? end - begin + 1 : 0;
}

}  // namespace

TagKind classifyTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd)
{
    if (tagEnd <= tagBegin || tagEnd >= length)
        return Invalid;
    if (buffer[tagBegin] != '<' || buffer[tagEnd] != '>')
        return Invalid;
    const char second = buffer[tagBegin + 1];
    if (second == '!' || second == '?')
        return Invalid;
    // Tags are short: a plain loop beats a library call here.
    bool hasSpace = false;
    for (size_t at = tagBegin + 1; at < tagEnd; ++at) {
        if (buffer[at] == ' ') {
            hasSpace = true;
            break;
        }
    }
    if (buffer[tagEnd - 1] == '/')
        return hasSpace ? EmptyWithAttributes : Empty;
    if (second == '/')
        return Close;
    return hasSpace ? OpenWithAttributes : Open;
}

void XmlTagParser::parseName(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd, TagKind kind)
{
    token_ = -1;
    hasAttributes_ = false;
    if (kind == Invalid)
        return;
    const size_t start = tagBegin + (kind == Close ? 2 : 1);
    const size_t end = tagEnd - (kind == Empty || kind == EmptyWithAttributes ? 2 : 1);
    if (kind == OpenWithAttributes || kind == EmptyWithAttributes) {
        size_t split = start;
        while (split <= end && !isXmlWhitespace(buffer[split]))
            ++split;
        if (split <= end) {
            hasAttributes_ = true;
            attributesBegin_ = split;
            attributesEnd_ = end;
        }
        token_ = split > start ? lookupName(buffer, length, start, split - 1) : -1;
        return;
    }
    token_ = lookupName(buffer, length, start, end);
}

TagKind XmlTagParser::parseTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd)
{
    token_ = -1;
    hasAttributes_ = false;
    if (tagEnd <= tagBegin || tagEnd >= length || buffer[tagBegin] != '<' || buffer[tagEnd] != '>')
        return Invalid;
    const char second = buffer[tagBegin + 1];
    if (second == '!' || second == '?')
        return Invalid;
    const bool empty = buffer[tagEnd - 1] == '/';
    const bool close = !empty && second == '/';
    const size_t start = tagBegin + (close ? 2 : 1);
    const size_t end = tagEnd - (empty ? 2 : 1);  // inclusive; start - 1 for no name
    size_t at = start;
    while (at <= end && !isXmlWhitespace(buffer[at]))
        ++at;
    const size_t nameLength = at - start;
    if (at > end) {
        token_ = lookupPlainName(buffer + start, nameLength);
        return empty ? Empty : close ? Close : Open;
    }
    if (buffer[at] == ' ' && !close) {
        hasAttributes_ = true;
        attributesBegin_ = at;
        attributesEnd_ = end;
        if (nameLength > 0)
            token_ = lookupPlainName(buffer + start, nameLength);
        return empty ? EmptyWithAttributes : OpenWithAttributes;
    }
    // A tab or line break first, or whitespace in an end tag: rare enough for two passes.
    const TagKind kind = classifyTag(buffer, length, tagBegin, tagEnd);
    parseName(buffer, length, tagBegin, tagEnd, kind);
    return kind;
}

void XmlTagParser::parseAttributes(const char* buffer, size_t length, TagKind kind, AttributeList& list,
                                   const int* wanted) const
{
    if ((kind != OpenWithAttributes && kind != EmptyWithAttributes) || !hasAttributes_)
        return;
    forEachAttribute(buffer, attributesBegin_, attributesEnd_,
                     [&](size_t nameBegin, size_t nameEnd, size_t valueBegin, size_t valueEnd) {
                         // Names come without whitespace.
                         const int token = nameEnd < length
                                               ? lookupPlainName(buffer + nameBegin, nameEnd - nameBegin + 1)
                                               : lookupName(buffer, length, nameBegin, nameEnd);
                         if (token == -1)
                             return;
                         if (wanted != nullptr) {
                             const int* listed = wanted;
                             while (*listed != -1 && *listed != token)
                                 ++listed;
                             if (*listed == -1)
                                 return;
                         }
                         Attribute& leaf = list.append(token);
                         decodeXmlTextInto(buffer, length, valueBegin, valueEnd, true, leaf.valueBuffer());
                     });
}

int XmlTagParser::lookupPlainName(const char* name, size_t length) const
{
    const bool cached = length >= 1 && length <= RecentNames::kLongest;
    const uint64_t key = cached ? RecentNames::key(name, length) : 0;
    if (cached) {
        if (const int* token = recent_.find(key, length))
            return *token;
    }
    size_t colon = 0;
    const uint32_t hash = qualifiedNameHash(name, length, colon);
    const int token = resolver_.lookupHashed(name, length, hash, colon);
    if (cached)
        recent_.remember(key, length, token);
    return token;
}

int XmlTagParser::lookupName(const char* buffer, size_t length, size_t begin, size_t end) const
{
    if (begin >= length)
        return -1;
    if (end >= length)
        end = length - 1;
    return resolver_.lookup(buffer + begin, rangeLength(begin, end));
}

}  // namespace quillet
