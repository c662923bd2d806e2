#include "ooxml/XlsxCommentsHandler.h"

#include "output/TextSink.h"
#include "package/NameTokens.h"

namespace quillet {
namespace {

using Runs = std::vector<std::string>;

class XlsxCommentTHandler : public DefaultElementHandler {
public:
    explicit XlsxCommentTHandler(Runs* runs) : runs_(runs) {}
    void characters(const std::string& text) override { runs_->push_back(text); }
    bool declinesAttributes() const override { return true; }

private:
    Runs* runs_;
};

class XlsxCommentRHandler : public DefaultElementHandler {
public:
    explicit XlsxCommentRHandler(Runs* runs) : runs_(runs) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::t ? adoptChild<XlsxCommentTHandler>(runs_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    Runs* runs_;
};

// A t directly under text (a comment without runs) is not read.
class XlsxCommentTextHandler : public DefaultElementHandler {
public:
    explicit XlsxCommentTextHandler(Runs* runs) : runs_(runs) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::r ? adoptChild<XlsxCommentRHandler>(runs_) : nullptr;
    }
    bool declinesAttributes() const override { return true; }

private:
    Runs* runs_;
};

class XlsxCommentHandler : public DefaultElementHandler {
public:
    XlsxCommentHandler(TextSink* sink, Runs* runs) : sink_(sink), runs_(runs) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token != token::sml::text)
            return nullptr;
        runs_->clear();
        return adoptChild<XlsxCommentTextHandler>(runs_);
    }
    void endElement(int) override
    {
        sink_->appendUtf8("\n\t", 2);
        for (const std::string& run : *runs_)
            sink_->appendUtf8(run);
    }

private:
    TextSink* sink_;
    Runs* runs_;
};

class XlsxCommentListHandler : public DefaultElementHandler {
public:
    XlsxCommentListHandler(TextSink* sink, Runs* runs) : sink_(sink), runs_(runs) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token != token::sml::comment)
            return nullptr;
        // A comment without a text element must not repeat the one before.
        runs_->clear();
        return adoptChild<XlsxCommentHandler>(sink_, runs_);
    }

private:
    TextSink* sink_;
    Runs* runs_;
};

}  // namespace

ElementHandler* XlsxCommentsHandler::getChildHandler(int token)
{
    return token == token::sml::commentList ? adoptChild<XlsxCommentListHandler>(sink_, &runs_) : nullptr;
}

}  // namespace quillet
