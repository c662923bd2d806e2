#include "ooxml/xlsx/SharedStringsHandler.h"

#include "package/MemoryBudget.h"
#include "package/xml/NameTokens.h"

namespace quillet {
namespace {

// Pieces are charged as they come, so one item of countless runs is stopped
// as early as countless items; the joined string then stands for them.
class SharedItemHandler : public StringItemHandler {
public:
    SharedItemHandler(std::vector<std::string>* pieces, XlsxExtractContext* context) noexcept
        : StringItemHandler(pieces), context_(context)
    {
    }
    ElementHandler* getChildHandler(int token) override
    {
        chargeNewPieces();
        return StringItemHandler::getChildHandler(token);
    }
    void endElement(int) override
    {
        chargeNewPieces();
        context_->sharedStrings.push_back(joinedPieces());
    }

private:
    void chargeNewPieces()
    {
        if (context_->budget == nullptr)
            return;
        uint64_t bytes = charged_ == 0 ? MemoryBudget::inVector(sizeof(std::string)) : 0;
        for (; charged_ < pieces_->size(); ++charged_)
            bytes += (*pieces_)[charged_].size() + sizeof(std::string);
        context_->budget->charge(bytes);
    }

    XlsxExtractContext* context_;
    size_t charged_ = 0;
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
