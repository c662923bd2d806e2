#include "ooxml/xlsx/SharedStringsHandler.h"

#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

class SharedItemHandler : public StringItemHandler {
public:
    SharedItemHandler(std::vector<std::string>* pieces, XlsxExtractContext* context) noexcept
        : StringItemHandler(pieces), context_(context)
    {
    }
    void endElement(int) override { context_->sharedStrings.push_back(joinedPieces()); }

private:
    XlsxExtractContext* context_;
};

}  // namespace

std::string PieceHandler::joinedPieces() const
{
    std::string joined;
    for (const std::string& piece : *pieces_)
        joined += piece;
    return joined;
}

ElementHandler* StringItemHandler::getChildHandler(int token)
{
    if (token == token::sml::r)
        return child<PieceRunHandler>();
    if (token == token::sml::t)
        return child<PieceTextHandler>();
    return nullptr;
}

ElementHandler* SharedStringsHandler::getChildHandler(int token)
{
    if (token != token::sml::si)
        return nullptr;
    pieces_.clear();
    return adoptChild<SharedItemHandler>(&pieces_, context_);
}

}  // namespace quillet
