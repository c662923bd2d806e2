#pragma once

#include "package/xml/XmlTagParser.h"
#include "package/xml/XmlText.h"

#include <string>
#include <vector>

namespace quillet {

// What the two handler builders share: a subtree without a handler is passed
// over by counting its depth alone.
class SubtreeSkip {
public:
    void begin() { depth_ = 1; }
    bool active() const { return depth_ > 0; }
    // Inside a passed-over subtree: follows the tag's depth and returns true.
    bool pass(TagKind kind)
    {
        if (depth_ == 0)
            return false;
        if (kind == Open || kind == OpenWithAttributes)
            ++depth_;
        else if (kind == Close)
            --depth_;
        return true;
    }
    void leave() { --depth_; }

private:
    long long depth_ = 0;
};

// Text goes to the innermost open handler only right after a start tag: text
// after an end tag or an empty element (mixed content) is dropped.
template <class Handler>
void deliverText(const SubtreeSkip& skip, TagKind lastKind, const std::vector<Handler*>& stack, const char* buffer,
                 size_t length, size_t textBegin, size_t textEnd, bool decodeEntities, std::string& text)
{
    if (skip.active() || stack.empty() || (lastKind != Open && lastKind != OpenWithAttributes))
        return;
    decodeXmlTextInto(buffer, length, textBegin, textEnd, decodeEntities, text);
    stack.back()->characters(text);
}

}  // namespace quillet
