#include "ooxml/pptx/SlideHandler.h"

#include "ooxml/pptx/PptxTextBody.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

namespace quillet {
namespace {

namespace a = token::a;
namespace p = token::p;

// The text of table cells in graphic frames.
using CellHandler = OneChildHandler<PptxHandler, a::txBody, TxbodyHandler>;
using RowHandler = OneChildHandler<PptxHandler, a::tc, CellHandler>;
using TableHandler = OneChildHandler<PptxHandler, a::tr, RowHandler>;
using GraphicDataHandler = OneChildHandler<PptxHandler, a::tbl, TableHandler>;
using GraphicHandler = OneChildHandler<PptxHandler, a::graphicData, GraphicDataHandler>;
using GraphicFrameHandler = OneChildHandler<PptxHandler, a::graphic, GraphicHandler>;
using SpHandler = OneChildHandler<PptxHandler, p::txBody, TxbodyHandler>;

class GrpSpHandler : public OneChildHandler<PptxHandler, p::sp, SpHandler> {
public:
    using OneChildHandler::OneChildHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == p::grpSp)
            return child<GrpSpHandler>();
        return OneChildHandler::getChildHandler(token);
    }
};

class SpTreeHandler : public OneChildHandler<PptxHandler, p::sp, SpHandler> {
public:
    using OneChildHandler::OneChildHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == p::grpSp)
            return child<GrpSpHandler>();
        if (token == p::graphicFrame)
            return child<GraphicFrameHandler>();
        return OneChildHandler::getChildHandler(token);
    }
};

using CSldHandler = OneChildHandler<PptxHandler, p::spTree, SpTreeHandler>;

using NotesSpHandler = OneChildHandler<PptxHandler, p::txBody, NotesTxbodyHandler>;
using NotesSpTreeHandler = OneChildHandler<PptxHandler, p::sp, NotesSpHandler>;
using NotesCSldHandler = OneChildHandler<PptxHandler, p::spTree, NotesSpTreeHandler>;

}  // namespace

ElementHandler* SlideHandler::getChildHandler(int token)
{
    return token == p::cSld ? child<CSldHandler>() : nullptr;
}

ElementHandler* NotesHandler::getChildHandler(int token)
{
    return token == p::cSld ? child<NotesCSldHandler>() : nullptr;
}

}  // namespace quillet
