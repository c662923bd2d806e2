#include "support/DocxBuilder.h"

namespace quillet::test {

const std::string DocxBuilder::kHeaderType = std::string(kType) + "header";
const std::string DocxBuilder::kFooterType = std::string(kType) + "footer";

namespace {

const char* const kRelationships = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                                   "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";

std::string part(const char* root, const std::string& inside)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:") + root +
           " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
           " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
           " xmlns:v=\"urn:schemas-microsoft-com:vml\""
           " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
           " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\">" +
           inside + "</w:" + root + ">";
}

}  // namespace

DocxBuilder& DocxBuilder::body(const std::string& xml)
{
    body_ = xml;
    return *this;
}

DocxBuilder& DocxBuilder::declaredDocumentSize(int64_t size)
{
    declaredSize_ = size;
    return *this;
}

DocxBuilder& DocxBuilder::story(const std::string& kind, const char* root, const std::string& id,
                                const std::string& inside)
{
    relationship(id, kType + kind, kind + id + ".xml");
    return entry("word/" + kind + id + ".xml", part(root, inside));
}

DocxBuilder& DocxBuilder::comments(const std::string& id, const std::string& inside)
{
    relationship(id, std::string(kType) + "comments", "comments.xml");
    return entry("word/comments.xml", part("comments", inside));
}

DocxBuilder& DocxBuilder::relationship(const std::string& id, const std::string& type, const std::string& target)
{
    relationships_ += "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
    return *this;
}

DocxBuilder& DocxBuilder::entry(const std::string& name, const std::string& bytes)
{
    entries_.push_back({name, bytes});
    return *this;
}

DocxBuilder& DocxBuilder::packageRelationships(const std::string& xml)
{
    packageRels_ = xml;
    return *this;
}

DocxBuilder& DocxBuilder::withoutPackageRelationships()
{
    hasPackageRels_ = false;
    return *this;
}

std::string DocxBuilder::documentPart() const
{
    return part("document", "<w:body>" + body_ + "</w:body>");
}

ZipBuilder DocxBuilder::zip() const
{
    ZipBuilder zip;
    if (hasPackageRels_) {
        zip.add("_rels/.rels", !packageRels_.empty()
                                   ? packageRels_
                                   : kRelationships + std::string("<Relationship Id=\"rId1\" Type=\"") + kType +
                                         "officeDocument\" Target=\"word/document.xml\"/>"
                                         "</Relationships>");
    }
    if (declaredSize_ >= 0)
        zip.addDeclared("word/document.xml", documentPart(), declaredSize_);
    else
        zip.add("word/document.xml", documentPart());
    if (!relationships_.empty())
        zip.add("word/_rels/document.xml.rels", kRelationships + relationships_ + "</Relationships>");
    for (const auto& [name, bytes] : entries_)
        zip.add(name, bytes);
    return zip;
}

}  // namespace quillet::test
