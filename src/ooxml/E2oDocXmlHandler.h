#pragma once

#include "ooxml/DrawingChainHandler.h"
#include "package/NameTokens.h"

namespace quillet {

// The graphic-frame part of a drawing package embedded in a binary
// presentation: only the runs of table cells, a:graphic / a:graphicData /
// a:tbl / a:tr / a:tc / a:txBody / a:p / a:r / a:t.
class E2oDocXmlValueHandler : public DrawingValueHandler {
public:
    using DrawingValueHandler::DrawingValueHandler;
};
class E2oDocXmlRHandler : public DrawingChainHandler<token::a::t, E2oDocXmlValueHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlPHandler : public DrawingChainHandler<token::a::r, E2oDocXmlRHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlTxbodyHandler : public DrawingChainHandler<token::a::p, E2oDocXmlPHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlTcHandler : public DrawingChainHandler<token::a::txBody, E2oDocXmlTxbodyHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlTrHandler : public DrawingChainHandler<token::a::tc, E2oDocXmlTcHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlTblHandler : public DrawingChainHandler<token::a::tr, E2oDocXmlTrHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlGraphicDataHandler : public DrawingChainHandler<token::a::tbl, E2oDocXmlTblHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlGraphicHandler : public DrawingChainHandler<token::a::graphicData, E2oDocXmlGraphicDataHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class E2oDocXmlHandler : public DrawingChainHandler<token::a::graphic, E2oDocXmlGraphicHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};

}  // namespace quillet
