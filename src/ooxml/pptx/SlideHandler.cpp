#include "ooxml/pptx/SlideHandler.h"

#include "ooxml/pptx/PptxTextBody.h"
#include "package/xml/AttributeList.h"
#include "package/xml/NameTokens.h"
#include "package/xml/OneChildHandler.h"

#include <algorithm>

namespace quillet {
namespace {

namespace a = token::a;
namespace p = token::p;

// The text of table cells in graphic frames.
using CellHandler = OneChildHandler<PptxHandler, a::txBody, TxbodyHandler>;
using RowHandler = OneChildHandler<PptxHandler, a::tc, CellHandler>;
using TableHandler = OneChildHandler<PptxHandler, a::tr, RowHandler>;

// A diagram's text is in its data part, read after the slide: its id is kept.
class DiagramReferenceHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    void startElement(int, const AttributeList& attributes) override
    {
        std::string id;
        if (const AttributeValue* value = attributes.find(token::r::dm))
            value->toString(id);
        std::vector<std::string>& ids = context_->diagramIds;
        // A diagram shown twice is read once.
        if (!id.empty() && ids.size() < PptxExtractContext::kMaxDiagrams &&
            std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(std::move(id));
    }
};

class GraphicDataHandler : public PptxHandler {
public:
    using PptxHandler::PptxHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == a::tbl)
            return child<TableHandler>();
        return token == token::dgm::relIds ? child<DiagramReferenceHandler>() : nullptr;
    }
};

using GraphicHandler = OneChildHandler<PptxHandler, a::graphicData, GraphicDataHandler>;
using GraphicFrameHandler = OneChildHandler<PptxHandler, a::graphic, GraphicHandler>;
using SpHandler = OneChildHandler<PptxHandler, p::txBody, TxbodyHandler>;

// Shapes, groups of them and graphic frames, on slides and in groups alike.
class GrpSpHandler : public OneChildHandler<PptxHandler, p::sp, SpHandler> {
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

using CSldHandler = OneChildHandler<PptxHandler, p::spTree, GrpSpHandler>;

// Notes: shapes and tables directly in the tree.
using NotesSpHandler = OneChildHandler<PptxHandler, p::txBody, NotesTxbodyHandler>;

class NotesSpTreeHandler : public OneChildHandler<PptxHandler, p::sp, NotesSpHandler> {
public:
    using OneChildHandler::OneChildHandler;
    ElementHandler* getChildHandler(int token) override
    {
        if (token == p::graphicFrame)
            return child<GraphicFrameHandler>();
        return OneChildHandler::getChildHandler(token);
    }
};

using NotesCSldHandler = OneChildHandler<PptxHandler, p::spTree, NotesSpTreeHandler>;

// A diagram data part: the text of its points, in data order.
using PointTextHandler = OneChildHandler<PptxHandler, token::dgm::t, TxbodyHandler>;
using PointListHandler = OneChildHandler<PptxHandler, token::dgm::pt, PointTextHandler>;

}  // namespace

ElementHandler* SlideHandler::getChildHandler(int token)
{
    return token == p::cSld ? child<CSldHandler>() : nullptr;
}

ElementHandler* NotesHandler::getChildHandler(int token)
{
    return token == p::cSld ? child<NotesCSldHandler>() : nullptr;
}

ElementHandler* DiagramDataHandler::getChildHandler(int token)
{
    return token == token::dgm::ptLst ? child<PointListHandler>() : nullptr;
}

}  // namespace quillet
