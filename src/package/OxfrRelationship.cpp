#include "package/OxfrRelationship.h"

#include "package/OxfrPackage.h"
#include "package/OxfrPart.h"
#include "package/RelationshipPaths.h"

namespace quillet {

OxfrRelationship::OxfrRelationship(ZipArchive* archive, const std::string& sourcePath)
    : archive_(archive), sourcePath_(sourcePath)
{
}

OxfrRelationship::~OxfrRelationship() = default;

void OxfrRelationship::attribute(const std::string& name, const std::string& value)
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

OxfrPart* OxfrRelationship::getTargetPart()
{
    if (isExternal_)
        return nullptr;
    if (!targetPart_)
        targetPart_ = std::make_unique<OxfrPart>(archive_, resolveTarget(sourcePath_, target_));
    return targetPart_.get();
}

}  // namespace quillet
