#pragma once

#include "ooxml/PackageHandler.h"
#include "ooxml/xlsx/XlsxExtractContext.h"
#include "package/xml/ElementHandler.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

#include <string>
#include <vector>

namespace quillet {

// A handler of a worksheet part.
using XlsxHandler = PackageHandler<XlsxExtractContext>;

// A handler that collects text pieces (shared strings, inline strings,
// comments); its children share the list, which it does not own.
class PieceHandler : public DefaultElementHandler {
public:
    explicit PieceHandler(std::vector<std::string>* pieces) noexcept : pieces_(pieces) {}
    bool declinesAttributes() const override { return true; }

protected:
    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(pieces_);
    }
    std::string joinedPieces() const;

    std::vector<std::string>* pieces_;
};

// t: its text is the next piece.
class PieceTextHandler : public PieceHandler {
public:
    using PieceHandler::PieceHandler;
    void characters(const std::string& text) override { pieces_->push_back(text); }
};

// r: a rich-text run, whose t gives the piece.
using PieceRunHandler = OneChildHandler<PieceHandler, token::sml::t, PieceTextHandler>;

}  // namespace quillet
