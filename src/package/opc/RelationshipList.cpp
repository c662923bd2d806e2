#include "package/opc/RelationshipList.h"

#include "package/opc/RelationshipPaths.h"
#include "package/opc/XmlPart.h"
#include "package/zip/ZipArchive.h"

namespace quillet {
namespace {

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

RelationshipList::RelationshipList(ZipArchive* archive, const std::string& sourcePath)
    : archive_(archive), sourcePath_(sourcePath)
{
    parseXmlPartByName(archive_, relationshipPartPath(sourcePath_), this);
    chargeLastEntry();
}

// An entry's attributes are known only once the next one begins.
void RelationshipList::chargeLastEntry()
{
    if (archive_ == nullptr || entries_.empty())
        return;
    const Relationship& last = *entries_.back();
    archive_->budget().charge(sizeof(Relationship) + MemoryBudget::inVector(sizeof(entries_.back())) +
                              last.id().size() + last.type().size() + last.target().size() + sourcePath_.size());
}

ElementStrHandler* RelationshipList::getChildHandler(const std::string& name)
{
    if (!endsWith(name, "Relationship"))
        return nullptr;
    chargeLastEntry();
    entries_.push_back(std::make_unique<Relationship>(archive_, sourcePath_));
    return entries_.back().get();
}

Relationship* RelationshipList::at(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<size_t>(index)].get();
}

Relationship* RelationshipList::findById(const std::string& id) const
{
    for (const auto& entry : entries_) {
        if (entry->id() == id)
            return entry.get();
    }
    return nullptr;
}

Relationship* RelationshipList::findByType(const std::string& typeUri) const
{
    if (typeUri.empty())
        return nullptr;  // an entry without a type matches nothing
    for (const auto& entry : entries_) {
        if (entry->type() == typeUri)
            return entry.get();
    }
    return nullptr;
}

PackagePart* firstTargetOfType(const RelationshipList* relationships, const std::string& typeUri)
{
    Relationship* found = relationships != nullptr ? relationships->findByType(typeUri) : nullptr;
    return found != nullptr ? found->getTargetPart() : nullptr;
}

}  // namespace quillet
