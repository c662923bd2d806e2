#include "package/opc/OpcPackage.h"

#include "package/opc/PackagePart.h"

namespace quillet {

OpcPackage::OpcPackage(ZipArchive* archive) : archive_(archive), rootRelationships_(archive, "") {}

PackagePart* OpcPackage::partOfType(const char* typeUri)
{
    return firstTargetOfType(&rootRelationships_, typeUri);
}

PackagePart* OpcPackage::mainDocumentPart()
{
    return partOfType(relationship_type::OfficeDocument);
}

PackagePart* OpcPackage::shapeXmlPart()
{
    return partOfType(relationship_type::ShapeXml);
}

PackagePart* OpcPackage::graphicFrameDocPart()
{
    return partOfType(relationship_type::GraphicFrameDoc);
}

}  // namespace quillet
