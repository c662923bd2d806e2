#include "ooxml/xlsx/XlsxCommentsHandler.h"

#include "ooxml/xlsx/SharedStringsHandler.h"
#include "output/TextSink.h"

namespace quillet {
namespace {

using Runs = std::vector<std::string>;

// Runs, or a t directly under text (Excel's copy of a threaded comment).
using XlsxCommentTextHandler = StringItemHandler;

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
