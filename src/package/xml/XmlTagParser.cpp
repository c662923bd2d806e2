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

void XmlTagParser::parseAttributes(const char* buffer, size_t length, TagKind kind, AttributeList& list) const
{
    if ((kind != OpenWithAttributes && kind != EmptyWithAttributes) || !hasAttributes_)
        return;
    forEachAttribute(buffer, attributesBegin_, attributesEnd_,
                     [&](size_t nameBegin, size_t nameEnd, size_t valueBegin, size_t valueEnd) {
                         const int token = lookupName(buffer, length, nameBegin, nameEnd);
                         if (token == -1)
                             return;
                         Attribute& leaf = list.append(token);
                         decodeXmlTextInto(buffer, length, valueBegin, valueEnd, true, leaf.valueBuffer());
                     });
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
