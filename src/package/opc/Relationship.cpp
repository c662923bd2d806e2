#include "package/opc/Relationship.h"

#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/RelationshipPaths.h"

namespace quillet {

std::string transitionalType(const std::string& type)
{
    // A Strict package names the same relationships under another root;
    // the readers look for the transitional names only.
    static const std::string strictRoot = "http://purl.oclc.org/ooxml/officeDocument/relationships/";
    static const std::string transitionalRoot = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    if (type.compare(0, strictRoot.size(), strictRoot) != 0)
        return type;
    return transitionalRoot + type.substr(strictRoot.size());
}

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
        type_ = transitionalType(value);
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
