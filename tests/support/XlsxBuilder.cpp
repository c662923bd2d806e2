#include "support/XlsxBuilder.h"

namespace quillet::test {
namespace {

const char* const kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const kMain = " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

XlsxBuilder& XlsxBuilder::sharedStrings(const std::vector<std::string>& strings)
{
    std::string xml;
    for (const std::string& text : strings)
        xml += "<si><t>" + escaped(text) + "</t></si>";
    return sharedStringsXml(xml);
}

XlsxBuilder& XlsxBuilder::sharedStringsXml(const std::string& siElements)
{
    sharedStrings_ = siElements;
    hasSharedStrings_ = true;
    return *this;
}

XlsxBuilder& XlsxBuilder::worksheet(const std::string& body, const std::string& commentsBody)
{
    sheets_.push_back({body, commentsBody});
    return *this;
}

std::string XlsxBuilder::bytes() const
{
    using P = PackagePartSet;
    std::map<std::string, std::string> parts;
    parts["_rels/.rels"] = P::relationships(P::relationship("rId1", "officeDocument", "xl/workbook.xml"));
    std::string sheetElements, workbookRelationships;
    for (size_t i = 0; i < sheets_.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        sheetElements += "<sheet name=\"Sheet" + n + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        workbookRelationships += P::relationship("rId" + n, "worksheet", "worksheets/sheet" + n + ".xml");
        parts["xl/worksheets/sheet" + n + ".xml"] =
            std::string(kHeader) + "<worksheet" + kMain + ">" + sheets_[i].body + "</worksheet>";
        if (!sheets_[i].commentsBody.empty()) {
            parts["xl/worksheets/_rels/sheet" + n + ".xml.rels"] =
                P::relationships(P::relationship("rId1", "comments", "../comments" + n + ".xml"));
            parts["xl/comments" + n + ".xml"] = std::string(kHeader) + "<comments" + kMain +
                                                "><authors><author>Ann</author></authors><commentList>" +
                                                sheets_[i].commentsBody + "</commentList></comments>";
        }
    }
    if (hasSharedStrings_) {
        workbookRelationships += P::relationship("rId1000", "sharedStrings", "sharedStrings.xml");
        parts["xl/sharedStrings.xml"] = std::string(kHeader) + "<sst" + kMain + ">" + sharedStrings_ + "</sst>";
    }
    parts["xl/_rels/workbook.xml.rels"] = P::relationships(workbookRelationships);
    parts["xl/workbook.xml"] =
        std::string(kHeader) + "<workbook" + kMain + "><sheets>" + sheetElements + "</sheets></workbook>";
    return parts_.zipBytes(parts);
}

std::string XlsxBuilder::row(const std::vector<std::string>& cells)
{
    std::string xml = "<row>";
    for (const std::string& cell : cells) {
        const size_t colon = cell.find(':');
        if (cell.empty())
            xml += "<c r=\"A1\" s=\"1\"/>";
        else if (colon == std::string::npos)
            xml += "<c r=\"A1\"><v>" + escaped(cell) + "</v></c>";
        else if (cell.compare(0, colon, "inlineStr") == 0)
            xml += "<c r=\"A1\" t=\"inlineStr\"><is><t>" + escaped(cell.substr(colon + 1)) + "</t></is></c>";
        else
            xml += "<c r=\"A1\" t=\"" + cell.substr(0, colon) + "\"><v>" + escaped(cell.substr(colon + 1)) + "</v></c>";
    }
    return xml + "</row>";
}

std::string XlsxBuilder::sheetData(const std::vector<std::string>& rows)
{
    std::string xml = "<sheetData>";
    for (const std::string& one : rows)
        xml += one;
    return xml + "</sheetData>";
}

std::string XlsxBuilder::comment(const std::vector<std::string>& runs)
{
    std::string xml = "<comment ref=\"A1\" authorId=\"0\"><text>";
    for (const std::string& run : runs)
        xml += "<r><rPr><b/></rPr><t xml:space=\"preserve\">" + escaped(run) + "</t></r>";
    return xml + "</text></comment>";
}

}  // namespace quillet::test
