#include "package/OxfrPart.h"

#include "package/OxfrRelationships.h"
#include "package/ZipArchive.h"

namespace quillet {

OxfrPart::OxfrPart(ZipArchive* archive, std::string path) : archive_(archive), path_(std::move(path)) {}

OxfrPart::~OxfrPart() = default;

OxfrRelationships* OxfrPart::relationships()
{
    if (!relationships_)
        relationships_ = std::make_unique<OxfrRelationships>(archive_, path_);
    return relationships_.get();
}

int64_t OxfrPart::size() const
{
    return archive_ != nullptr ? archive_->entrySize(path_) : -1;
}

}  // namespace quillet
