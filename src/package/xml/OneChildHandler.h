#pragma once

#include "package/xml/ElementHandler.h"

namespace quillet {

// A handler that follows one kind of child element and passes over every
// other. Base makes the child with child<Handler>(), which hands it what the
// handlers of one reader share (a sink, a context).
template <class Base, int ChildToken, class Child>
class OneChildHandler : public Base {
public:
    using Base::Base;
    ElementHandler* getChildHandler(int token) override
    {
        return token == ChildToken ? this->template child<Child>() : nullptr;
    }
};

}  // namespace quillet
