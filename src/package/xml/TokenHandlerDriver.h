#pragma once

#include "package/xml/AttributeList.h"
#include "package/xml/ElementHandler.h"
#include "package/xml/SubtreeSkip.h"
#include "package/xml/XmlTagParser.h"
#include "package/xml/XmlTagScanner.h"

#include <string>
#include <vector>

namespace quillet {

// Raised for a piece that is not a tag: std::runtime_error with "意外错误:"
// (stored in GBK) followed by the piece.
[[noreturn]] void throwUnexpectedTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd);

// Drives a tree of token handlers from the scanner: keeps the handlers of
// the open elements on a stack, asks the top one for each child's handler and
// skips, by depth alone, every subtree that gets none.
class TokenHandlerDriver : public XmlEventReceiver {
public:
    // The root handler receives the part's first known element; not owned.
    TokenHandlerDriver(ElementHandler* root, Vocabulary vocabulary);
    TokenHandlerDriver(const TokenHandlerDriver&) = delete;
    TokenHandlerDriver& operator=(const TokenHandlerDriver&) = delete;

    void acceptTag(const char* buffer, size_t length, size_t tagBegin, size_t tagEnd) override;
    void acceptText(const char* buffer, size_t length, size_t textBegin, size_t textEnd, bool decodeEntities) override;

    // Deeper elements are skipped as if they had no handler, so that no
    // handler chain grows with the input.
    static constexpr size_t kMaxDepth = 1024;

private:
    void readAttributes(const ElementHandler& decider, const char* buffer, size_t length, TagKind kind);

    std::vector<ElementHandler*> stack_;
    XmlTagParser tagParser_;
    AttributeList attributes_;
    bool rootPending_ = true;
    SubtreeSkip skip_;
    TagKind lastKind_ = Invalid;
    std::string text_;
};

}  // namespace quillet
