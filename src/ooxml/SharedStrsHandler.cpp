#include "ooxml/SharedStrsHandler.h"

#include "ooxml/XlsxExtractContext.h"
#include "package/NameTokens.h"

namespace quillet {
namespace {

class StrValueHandler : public DefaultElementHandler {
public:
    explicit StrValueHandler(std::vector<std::string>* pieces) : pieces_(pieces) {}
    void characters(const std::string& text) override { pieces_->push_back(text); }
    bool declinesAttributes() const override { return true; }

private:
    std::vector<std::string>* pieces_;
};

class StrRunHandler : public DefaultElementHandler {
public:
    explicit StrRunHandler(std::vector<std::string>* pieces) : pieces_(pieces) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::t ? adoptChild<StrValueHandler>(pieces_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    std::vector<std::string>* pieces_;
};

class SharedItemHandler : public StrItemHandler {
public:
    SharedItemHandler(std::vector<std::string>* pieces, XlsxExtractContext* context)
        : StrItemHandler(pieces), context_(context)
    {
    }
    void endElement(int) override { context_->sharedStrings.push_back(joinedPieces()); }

private:
    XlsxExtractContext* context_;
};

}  // namespace

ElementHandler* StrItemHandler::getChildHandler(int token)
{
    if (token == token::sml::r)
        return adoptChild<StrRunHandler>(pieces_);
    if (token == token::sml::t)
        return adoptChild<StrValueHandler>(pieces_);
    return nullptr;
}

std::string StrItemHandler::joinedPieces() const
{
    std::string joined;
    for (const std::string& piece : *pieces_)
        joined += piece;
    return joined;
}

ElementHandler* SharedStrsHandler::getChildHandler(int token)
{
    if (token != token::sml::si)
        return nullptr;
    pieces_.clear();
    return adoptChild<SharedItemHandler>(&pieces_, context_);
}

}  // namespace quillet
