#include "package/xml/ElementHandler.h"

namespace quillet {

DefaultElementHandler::~DefaultElementHandler()
{
    releaseChild();
}

void DefaultElementHandler::replaceChild(std::shared_ptr<DefaultElementHandler> child)
{
    std::shared_ptr<DefaultElementHandler> released = std::move(child_);
    child_ = std::move(child);
    // Detach each grandchild before its parent goes, so that every destructor
    // finds an empty child.
    while (released && released.use_count() == 1)
        released = std::move(released->child_);
}

}  // namespace quillet
