#pragma once

#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace quillet {

class AttributeList;

// Receives one element of a part: its start with its known attributes, the
// text runs directly inside it, its end, and the choice of handlers for its
// children. Names arrive as tokens (NameTokens.h).
class ElementHandler {
public:
    virtual ~ElementHandler() = default;

    // attributes is empty when the handler declined them.
    virtual void startElement(int token, const AttributeList& attributes) = 0;
    virtual void endElement(int token) = 0;
    // UTF-8, entities decoded. Only runs that follow a start tag arrive.
    virtual void characters(const std::string& text) = 0;
    // Null skips the child and everything inside it.
    virtual ElementHandler* getChildHandler(int token) = 0;
    // True when the elements this handler receives need no attribute parsing.
    virtual bool declinesAttributes() const = 0;
    // When not null, the only attributes (a list of tokens ending in -1) the
    // handler reads; the others are not decoded.
    virtual const int* attributesRead() const { return nullptr; }
};

// Empty defaults, and the ownership of children: a parent holds its latest
// child (see adoptChild) until the next one replaces it, so a handler lives
// as long as it is on the builder's stack.
class DefaultElementHandler : public ElementHandler {
public:
    DefaultElementHandler() = default;
    ~DefaultElementHandler() override;
    DefaultElementHandler(const DefaultElementHandler&) = delete;
    DefaultElementHandler& operator=(const DefaultElementHandler&) = delete;

    void startElement(int, const AttributeList&) override {}
    void endElement(int) override {}
    void characters(const std::string&) override {}
    ElementHandler* getChildHandler(int) override { return nullptr; }
    bool declinesAttributes() const override { return false; }

protected:
    // Creates the new child, releasing the previous one (already closed).
    // getChildHandler returns the result. A handler whose constructor cannot
    // throw is rebuilt in the place of a previous child of its own type, which
    // spares an allocation per element on long runs of siblings. Such a
    // handler must hold no const or reference members.
    template <typename Handler, typename... Args>
    Handler* adoptChild(Args&&... args)
    {
        if constexpr (std::is_nothrow_constructible_v<Handler, Args&&...>) {
            if (child_ && child_.use_count() == 1) {
                auto& current = *child_;
                if (typeid(current) == typeid(Handler)) {
                    Handler* previous = static_cast<Handler*>(&current);
                    // Its own latest child is kept for the rebuilt handler to
                    // rebuild in turn: cells, runs and their values alike.
                    std::shared_ptr<DefaultElementHandler> grandchild = std::move(child_->child_);
                    previous->~Handler();
                    Handler* rebuilt = std::launder(new (previous) Handler(std::forward<Args>(args)...));
                    child_->child_ = std::move(grandchild);
                    return rebuilt;
                }
            }
        }
        auto child = std::make_shared<Handler>(std::forward<Args>(args)...);
        Handler* raw = child.get();
        replaceChild(std::move(child));
        return raw;
    }

    void releaseChild() { replaceChild(nullptr); }

private:
    // Chains of children are unlinked one by one, so that releasing a deeply
    // nested chain never recurses.
    void replaceChild(std::shared_ptr<DefaultElementHandler> child);

    std::shared_ptr<DefaultElementHandler> child_;
};

// The name flavour, used for relationship parts: element and attribute names
// arrive as written, prefix included.
class ElementStrHandler {
public:
    virtual ~ElementStrHandler() = default;

    virtual void startElement(const std::string& name) = 0;
    virtual void endElement(const std::string& name) = 0;
    // One call per well-formed attribute, after startElement; value decoded.
    virtual void attribute(const std::string& name, const std::string& value) = 0;
    virtual void characters(const std::string& text) = 0;
    // Null skips the child and everything inside it.
    virtual ElementStrHandler* getChildHandler(const std::string& name) = 0;
};

class DefaultElementStrHandler : public ElementStrHandler {
public:
    void startElement(const std::string&) override {}
    void endElement(const std::string&) override {}
    void attribute(const std::string&, const std::string&) override {}
    void characters(const std::string&) override {}
    ElementStrHandler* getChildHandler(const std::string&) override { return nullptr; }
};

}  // namespace quillet
