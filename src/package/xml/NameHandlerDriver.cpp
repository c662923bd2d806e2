#include "package/xml/NameHandlerDriver.h"

#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/XmlText.h"

#include <stdexcept>

namespace quillet {

NameHandlerDriver::NameHandlerDriver(ElementStrHandler* root) : root_(root)
{
    if (root != nullptr)
        stack_.push_back(root);
}

void NameHandlerDriver::acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd)
{
    const TagKind kind = classifyTag(buffer, length, tagBegin, tagEnd);
    lastKind_ = kind;
    if (kind == Invalid)
        throwUnexpectedTag(buffer, length, tagBegin, tagEnd);
    if (skip_.pass(kind))
        return;
    if (root_ == nullptr)
        return;

    const size_t start = tagBegin + (kind == Close ? 2 : 1);
    const size_t end = tagEnd - (kind == Empty || kind == EmptyWithAttributes ? 2 : 1);
    if (end < start)
        throw std::runtime_error("IllegalStateException");

    if (kind == OpenWithAttributes || kind == EmptyWithAttributes) {
        size_t split = start;
        while (split <= end && !isXmlWhitespace(buffer[split]))
            ++split;
        name_.assign(buffer + start, buffer + split);
        startName(name_);
        if (split <= end) {
            forEachAttribute(buffer, split, end,
                             [&](size_t nameBegin, size_t nameEnd, size_t valueBegin, size_t valueEnd) {
                                 if (skip_.active() || stack_.empty())
                                     return;
                                 attributeName_.assign(buffer + nameBegin, buffer + nameEnd + 1);
                                 decodeXmlTextInto(buffer, length, valueBegin, valueEnd, true, text_);
                                 stack_.back()->attribute(attributeName_, text_);
                             });
        }
        if (kind == EmptyWithAttributes)
            endName(name_);
        return;
    }

    size_t last = end;
    while (last > start && isXmlWhitespace(buffer[last]))
        --last;
    name_.assign(buffer + start, buffer + last + 1);
    if (kind != Close)
        startName(name_);
    if (kind != Open)
        endName(name_);
}

void NameHandlerDriver::startName(const std::string& name)
{
    if (rootPending_) {
        rootPending_ = false;
        if (stack_.empty())
            stack_.push_back(root_);
        root_->startElement(name);
        return;
    }
    if (stack_.empty())
        return;
    ElementStrHandler* child = stack_.back()->getChildHandler(name);
    if (child == nullptr) {
        skip_.begin();
        return;
    }
    child->startElement(name);
    stack_.push_back(child);
}

void NameHandlerDriver::endName(const std::string& name)
{
    if (skip_.active()) {
        skip_.leave();
        return;
    }
    if (stack_.empty())
        return;
    stack_.back()->endElement(name);
    stack_.pop_back();
}

void NameHandlerDriver::acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd,
                                   bool decodeEntities)
{
    deliverText(skip_, lastKind_, stack_, buffer, length, textBegin, textEnd, decodeEntities, text_);
}

}  // namespace quillet
