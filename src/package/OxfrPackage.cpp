#include "package/OxfrPackage.h"

#include "package/OxfrPart.h"

namespace quillet {

OxfrPackage::OxfrPackage(ZipArchive* archive) : archive_(archive), rootRelationships_(archive, "") {}

OxfrPart* OxfrPackage::partOfType(const char* typeUri)
{
    return firstTargetOfType(&rootRelationships_, typeUri);
}

OxfrPart* OxfrPackage::mainDocumentPart()
{
    return partOfType(relationship_type::OfficeDocument);
}

OxfrPart* OxfrPackage::shapeXmlPart()
{
    return partOfType(relationship_type::ShapeXml);
}

OxfrPart* OxfrPackage::graphicFrameDocPart()
{
    return partOfType(relationship_type::GraphicFrameDoc);
}

}  // namespace quillet
