#pragma once

#include "ooxml/DrawingChainHandler.h"
#include "package/NameTokens.h"

namespace quillet {

// The shape part of a drawing package embedded in a binary presentation:
// the runs of p:txBody / a:p / a:r / a:t directly under the part's root.
class ShapeXmlValueHandler : public DrawingValueHandler {
public:
    using DrawingValueHandler::DrawingValueHandler;
};
class ShapeXmlRHandler : public DrawingChainHandler<token::a::t, ShapeXmlValueHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class ShapeXmlPHandler : public DrawingChainHandler<token::a::r, ShapeXmlRHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class ShapeXmlTxbodyHandler : public DrawingChainHandler<token::a::p, ShapeXmlPHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};
class ShapeXmlHandler : public DrawingChainHandler<token::p::txBody, ShapeXmlTxbodyHandler> {
public:
    using DrawingChainHandler::DrawingChainHandler;
};

}  // namespace quillet
