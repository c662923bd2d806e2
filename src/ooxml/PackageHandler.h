#pragma once

#include "output/TextSink.h"
#include "package/xml/ElementHandler.h"

#include <string>

namespace quillet {

// A handler of one package reader: every child it makes shares its sink and
// context, neither of which it owns.
template <class Context>
class PackageHandler : public DefaultElementHandler {
public:
    PackageHandler(TextSink* sink, Context* context) noexcept : sink_(sink), context_(context) {}

protected:
    template <typename Handler>
    ElementHandler* child()
    {
        return adoptChild<Handler>(sink_, context_);
    }
    void append(const std::string& utf8) { sink_->appendUtf8(utf8); }
    void append(const char* utf8, size_t size) { sink_->appendUtf8(utf8, size); }

    TextSink* sink_;
    Context* context_;
};

}  // namespace quillet
