#pragma once

#include "package/opc/RelationshipList.h"

#include <memory>
#include <string>

namespace quillet {

class PackagePart;
class ZipArchive;

namespace relationship_type {
constexpr const char* OfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* SharedStrings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
constexpr const char* Comments = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";
constexpr const char* NotesSlide = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/notesSlide";
constexpr const char* Header = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
constexpr const char* Footer = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";
constexpr const char* Numbering = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering";
constexpr const char* Footnotes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footnotes";
constexpr const char* Endnotes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/endnotes";
constexpr const char* DiagramData = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/diagramData";
constexpr const char* ShapeXml = "http://schemas.microsoft.com/office/2006/relationships/shapeXml";
constexpr const char* GraphicFrameDoc = "http://schemas.microsoft.com/office/2006/relationships/graphicFrameDoc";
}  // namespace relationship_type

// The package as a whole, through its own relationships ("_rels/.rels").
class OpcPackage {
public:
    explicit OpcPackage(ZipArchive* archive);
    OpcPackage(const OpcPackage&) = delete;
    OpcPackage& operator=(const OpcPackage&) = delete;

    ZipArchive* archive() const { return archive_; }
    RelationshipList& relationships() { return rootRelationships_; }

    // The target of the first relationship of that type; null when there is
    // none or it is external.
    PackagePart* mainDocumentPart();
    PackagePart* shapeXmlPart();
    PackagePart* graphicFrameDocPart();

private:
    PackagePart* partOfType(const char* typeUri);

    ZipArchive* archive_;
    RelationshipList rootRelationships_;
};

}  // namespace quillet
