#include "package/OxfrRelationships.h"

#include "package/RelationshipPaths.h"
#include "package/XmlPart.h"

namespace quillet {
namespace {

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

OxfrRelationships::OxfrRelationships(ZipArchive* archive, const std::string& sourcePath)
    : archive_(archive), sourcePath_(sourcePath)
{
    parseXmlPartByName(archive_, relationshipPartPath(sourcePath_), this);
}

ElementStrHandler* OxfrRelationships::getChildHandler(const std::string& name)
{
    if (!endsWith(name, "Relationship"))
        return nullptr;
    entries_.push_back(std::make_unique<OxfrRelationship>(archive_, sourcePath_));
    return entries_.back().get();
}

OxfrRelationship* OxfrRelationships::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<size_t>(index)].get();
}

OxfrRelationship* OxfrRelationships::findById(const std::string& id) const
{
    for (const auto& entry : entries_) {
        if (entry->id() == id)
            return entry.get();
    }
    return nullptr;
}

OxfrRelationship* OxfrRelationships::findByType(const std::string& typeUri) const
{
    if (typeUri.empty())
        return nullptr;  // an entry without a type matches nothing
    for (const auto& entry : entries_) {
        if (entry->type() == typeUri)
            return entry.get();
    }
    return nullptr;
}

OxfrPart* firstTargetOfType(const OxfrRelationships* relationships, const std::string& typeUri)
{
    OxfrRelationship* found = relationships != nullptr ? relationships->findByType(typeUri) : nullptr;
    return found != nullptr ? found->getTargetPart() : nullptr;
}

}  // namespace quillet
