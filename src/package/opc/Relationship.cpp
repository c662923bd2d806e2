#include "package/opc/Relationship.h"

#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/RelationshipPaths.h"

namespace quillet {

Relationship::Relationship(ZipArchive* archive, const std::string& sourcePath)
    : archive_(archive), sourcePath_(sourcePath)
{
}

Relationship::~Relationship() = default;

void Relationship::attribute(const std::string& name, const std::string& value)
{
    if (name == "Id") {
        id_ = value;
    } else if (name == "Type") {
        static const std::string strictPrefix = "http://purl.oclc.org";
        type_ = value.compare(0, strictPrefix.size(), strictPrefix) == 0 ? relationship_type::Package : value;
    } else if (name == "Target") {
        target_ = value;
    } else if (name == "TargetMode") {
        if (value == "External")
            isExternal_ = true;
    }
}

PackagePart* Relationship::getTargetPart()
{
    if (isExternal_)
        return nullptr;
    if (!targetPart_)
        targetPart_ = std::make_unique<PackagePart>(archive_, resolveTarget(sourcePath_, target_));
    return targetPart_.get();
}

}  // namespace quillet
