#include "package/opc/PackagePart.h"

#include "package/opc/RelationshipList.h"
#include "package/zip/ZipArchive.h"

namespace quillet {

PackagePart::PackagePart(ZipArchive* archive, std::string path) : archive_(archive), path_(std::move(path)) {}

PackagePart::~PackagePart() = default;

RelationshipList* PackagePart::relationships()
{
    if (!relationships_)
        relationships_ = std::make_unique<RelationshipList>(archive_, path_);
    return relationships_.get();
}

int64_t PackagePart::size() const
{
    return archive_ != nullptr ? archive_->entrySize(path_) : -1;
}

}  // namespace quillet
