#include "ooxml/SlideHandler.h"

#include "ooxml/PptxTextBody.h"
#include "package/NameTokens.h"

namespace quillet {
namespace {

// A handler that takes one kind of child, made with the same two pointers.
template <int ChildToken, typename Child>
class PassOn : public DefaultElementHandler {
public:
    PassOn(TextSink* sink, PptxExtractContext* context) : sink_(sink), context_(context) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == ChildToken ? adoptChild<Child>(sink_, context_) : nullptr;
    }

protected:
    TextSink* sink_;
    PptxExtractContext* context_;
};

class TcHandler : public PassOn<token::a::txBody, TxbodyHandler> {
    using PassOn::PassOn;
};
class TrHandler : public PassOn<token::a::tc, TcHandler> {
    using PassOn::PassOn;
};
class TblHandler : public PassOn<token::a::tr, TrHandler> {
    using PassOn::PassOn;
};
class GraphicDataHandler : public PassOn<token::a::tbl, TblHandler> {
    using PassOn::PassOn;
};
class GraphicHandler : public PassOn<token::a::graphicData, GraphicDataHandler> {
    using PassOn::PassOn;
};
class GraphicFrameHandler : public PassOn<token::a::graphic, GraphicHandler> {
    using PassOn::PassOn;
};
class SpHandler : public PassOn<token::p::txBody, TxbodyHandler> {
    using PassOn::PassOn;
};

class GrpSpHandler : public PassOn<token::p::sp, SpHandler> {
public:
    using PassOn::PassOn;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::p::grpSp)
            return adoptChild<GrpSpHandler>(sink_, context_);
        return PassOn::getChildHandler(token);
    }
};

class SpTreeHandler : public PassOn<token::p::sp, SpHandler> {
public:
    using PassOn::PassOn;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::p::grpSp)
            return adoptChild<GrpSpHandler>(sink_, context_);
        if (token == token::p::graphicFrame)
            return adoptChild<GraphicFrameHandler>(sink_, context_);
        return PassOn::getChildHandler(token);
    }
};

class CSldHandler : public PassOn<token::p::spTree, SpTreeHandler> {
    using PassOn::PassOn;
};

class NodeSpHandler : public PassOn<token::p::txBody, NodeTxbodyHandler> {
    using PassOn::PassOn;
};
class NodeSpTreeHandler : public PassOn<token::p::sp, NodeSpHandler> {
    using PassOn::PassOn;
};
class NodeCSldHandler : public PassOn<token::p::spTree, NodeSpTreeHandler> {
    using PassOn::PassOn;
};

}  // namespace

ElementHandler* SlideHandler::getChildHandler(int token)
{
    return token == token::p::cSld ? adoptChild<CSldHandler>(sink_, context_) : nullptr;
}

ElementHandler* NodesHandler::getChildHandler(int token)
{
    return token == token::p::cSld ? adoptChild<NodeCSldHandler>(sink_, context_) : nullptr;
}

}  // namespace quillet
