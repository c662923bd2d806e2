#include "support/DocxBuilder.h"

namespace quillet::test {

const char* const DocxBuilder::kNamespaces =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";
const char* const DocxBuilder::kHeaderType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
const char* const DocxBuilder::kFooterType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";
const char* const DocxBuilder::kCommentsType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";

namespace {

std::string part(const char* root, const std::string& inside)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:") + root +
           DocxBuilder::kNamespaces + ">" + inside + "</w:" + root + ">";
}

}  // namespace

DocxBuilder& DocxBuilder::header(const std::string& id, const std::string& inside)
{
    const std::string name = "header" + id + ".xml";
    relationship(id, kHeaderType, name);
    return entry("word/" + name, part("hdr", inside));
}

DocxBuilder& DocxBuilder::footer(const std::string& id, const std::string& inside)
{
    const std::string name = "footer" + id + ".xml";
    relationship(id, kFooterType, name);
    return entry("word/" + name, part("ftr", inside));
}

DocxBuilder& DocxBuilder::comments(const std::string& id, const std::string& inside)
{
    relationship(id, kCommentsType, "comments.xml");
    return entry("word/comments.xml", part("comments", inside));
}

std::string DocxBuilder::documentPart() const
{
    if (!document_.empty())
        return document_;
    return part("document", "<w:body>" + body_ + "</w:body>");
}

ZipBuilder DocxBuilder::zip() const
{
    ZipBuilder zip;
    zip.add("[Content_Types].xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"xml\" "
            "ContentType=\"application/xml\"/><Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Override "
            "PartName=\"/word/document.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
    if (hasPackageRels_) {
        zip.add("_rels/.rels",
                !packageRels_.empty()
                    ? packageRels_
                    : "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
                      "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                      "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    }
    if (hasMain_) {
        if (declaredSize_ >= 0)
            zip.addDeclared("word/document.xml", documentPart(), declaredSize_);
        else
            zip.add("word/document.xml", documentPart());
    }
    if (!relationships_.empty()) {
        std::string rels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
        for (const Relationship& r : relationships_)
            rels += "<Relationship Id=\"" + r.id + "\" Type=\"" + r.type + "\" Target=\"" + r.target + "\"/>";
        zip.add("word/_rels/document.xml.rels", rels + "</Relationships>");
    }
    for (const auto& [name, bytes] : entries_)
        zip.add(name, bytes);
    return zip;
}

}  // namespace quillet::test
