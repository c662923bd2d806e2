#pragma once

#include "package/OxfrRelationships.h"

#include <memory>
#include <string>

namespace quillet {

class OxfrPart;
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
constexpr const char* ShapeXml = "http://schemas.microsoft.com/office/2006/relationships/shapeXml";
constexpr const char* GraphicFrameDoc = "http://schemas.microsoft.com/office/2006/relationships/graphicFrameDoc";
// What every strict-conformance type reads as.
constexpr const char* Package = "http://schemas.openxmlformats.org/package/2006/relationships";
}  // namespace relationship_type

// The package as a whole, through its own relationships ("_rels/.rels").
class OxfrPackage {
public:
    explicit OxfrPackage(ZipArchive* archive);
    OxfrPackage(const OxfrPackage&) = delete;
    OxfrPackage& operator=(const OxfrPackage&) = delete;

    ZipArchive* archive() const { return archive_; }
    OxfrRelationships& relationships() { return rootRelationships_; }

    // The target of the first relationship of that type; null when there is
    // none or it is external.
    OxfrPart* mainDocumentPart();
    OxfrPart* shapeXmlPart();
    OxfrPart* graphicFrameDocPart();

private:
    OxfrPart* partOfType(const char* typeUri);

    ZipArchive* archive_;
    OxfrRelationships rootRelationships_;
};

}  // namespace quillet
