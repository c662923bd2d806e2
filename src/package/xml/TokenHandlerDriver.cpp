#include "package/xml/TokenHandlerDriver.h"

#include <stdexcept>

namespace quillet {

void throwUnexpectedTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd)
{
    // "意外错误:" in the GBK code page.
    std::string message = "\322\342\315\342\264\355\316\363:";
    if (tagBegin < length)
        message.append(buffer + tagBegin, buffer + (tagEnd < length ? tagEnd + 1 : length));
    throw std::runtime_error(message);
}

TokenHandlerDriver::TokenHandlerDriver(ElementHandler* root, Vocabulary vocabulary) : tagParser_(vocabulary)
{
    if (root != nullptr)
        stack_.push_back(root);
}

void TokenHandlerDriver::readAttributes(const ElementHandler& decider, const char* buffer, size_t length, TagKind kind)
{
    if (!decider.declinesAttributes())
        tagParser_.parseAttributes(buffer, length, kind, attributes_, decider.attributesRead());
}

void TokenHandlerDriver::acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd)
{
    // Inside a skipped subtree only the tag's kind matters, not its name.
    const bool nameWanted = !skip_.active() && !stack_.empty();
    const TagKind kind = nameWanted ? tagParser_.parseTag(buffer, length, tagBegin, tagEnd)
                                    : classifyTag(buffer, length, tagBegin, tagEnd);
    lastKind_ = kind;
    if (kind == Invalid)
        throwUnexpectedTag(buffer, length, tagBegin, tagEnd);
    const bool isStart = kind == Open || kind == OpenWithAttributes;
    const bool isEmpty = kind == Empty || kind == EmptyWithAttributes;
    if (skip_.pass(kind))
        return;
    if (stack_.empty())
        return;

    attributes_.clear();
    const int token = tagParser_.token();
    if (token == -1) {
        // An unknown end tag closes nothing.
        if (isStart)
            skip_.begin();
        return;
    }

    ElementHandler* top = stack_.back();
    if (rootPending_) {
        // Whatever it is, the first known tag is the root element.
        rootPending_ = false;
        readAttributes(*top, buffer, length, kind);
        top->startElement(token, attributes_);
        if (isEmpty)
            top->endElement(token);
        return;
    }
    if (kind == Close) {
        // The name is not matched against the open element.
        top->endElement(token);
        if (stack_.size() > 1)
            stack_.pop_back();
        return;
    }
    if (isStart && stack_.size() >= kMaxDepth) {
        skip_.begin();
        return;
    }
    ElementHandler* child = top->getChildHandler(token);
    if (child == nullptr) {
        if (isStart)
            skip_.begin();
        return;
    }
    if (isEmpty) {
        // The parent, not the child, decides about the attributes here.
        readAttributes(*top, buffer, length, kind);
        child->startElement(token, attributes_);
        child->endElement(token);
        return;
    }
    stack_.push_back(child);
    readAttributes(*child, buffer, length, kind);
    child->startElement(token, attributes_);
}

void TokenHandlerDriver::acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd,
                                    bool decodeEntities)
{
    deliverText(skip_, lastKind_, stack_, buffer, length, textBegin, textEnd, decodeEntities, text_);
}

}  // namespace quillet
