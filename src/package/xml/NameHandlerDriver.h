#pragma once

#include "package/xml/ElementHandler.h"
#include "package/xml/SubtreeSkip.h"
#include "package/xml/XmlTagParser.h"
#include "package/xml/XmlTagScanner.h"

#include <string>
#include <vector>

namespace quillet {

// Drives a tree of name handlers (relationship parts) from the scanner. The
// root is popped when the root element ends; tags after that are ignored.
// A tag without a name raises std::runtime_error("IllegalStateException").
class NameHandlerDriver : public XmlEventReceiver {
public:
    // Not owned.
    explicit NameHandlerDriver(ElementStrHandler* root);
    NameHandlerDriver(const NameHandlerDriver&) = delete;
    NameHandlerDriver& operator=(const NameHandlerDriver&) = delete;

    void acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd) override;
    void acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd, bool decodeEntities) override;

private:
    void startName(const std::string& name);
    void endName(const std::string& name);

    ElementStrHandler* root_;
    std::vector<ElementStrHandler*> stack_;
    bool rootPending_ = true;
    SubtreeSkip skip_;
    TagKind lastKind_ = Invalid;
    std::string name_;
    std::string attributeName_;
    std::string text_;
};

}  // namespace quillet
