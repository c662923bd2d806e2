#include "support/PptxBuilder.h"

namespace quillet::test {
namespace {

const char* const kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const kNamespaces = " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                                "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                                "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";

std::string spTree(const std::string& children)
{
    return "<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
           "<p:grpSpPr/>" +
           children + "</p:spTree></p:cSld>";
}

std::string body(const char* element, const std::vector<std::string>& paragraphs)
{
    std::string xml = std::string("<") + element + "><a:bodyPr/><a:lstStyle/>";
    for (const std::string& paragraph : paragraphs) {
        xml += "<a:p><a:pPr algn=\"l\"/>";
        std::string run;
        for (size_t i = 0; i <= paragraph.size(); ++i) {
            const char c = i < paragraph.size() ? paragraph[i] : '|';
            if (c != '|' && c != '^') {
                run += c;
                continue;
            }
            if (!run.empty())
                xml += "<a:r><a:rPr lang=\"en-US\" dirty=\"0\"/><a:t>" + run + "</a:t></a:r>";
            run.clear();
            if (c == '^')
                xml += "<a:br><a:rPr lang=\"en-US\"/></a:br>";
        }
        xml += "<a:endParaRPr lang=\"en-US\"/></a:p>";
    }
    return xml + "</" + element + ">";
}

}  // namespace

PptxBuilder& PptxBuilder::slide(const std::string& tree, const std::string& notesTree, const std::string& comments)
{
    slides_.push_back({tree, notesTree, comments});
    return *this;
}

PptxBuilder& PptxBuilder::order(const std::vector<std::string>& ids)
{
    order_ = ids;
    return *this;
}

std::string PptxBuilder::bytes() const
{
    using P = PackagePartSet;
    std::map<std::string, std::string> parts;
    parts["_rels/.rels"] = P::relationships(P::relationship("rId1", "officeDocument", "ppt/presentation.xml"));
    std::string presentationRelationships;
    std::vector<std::string> ids = order_;
    for (size_t i = 0; i < slides_.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        if (order_.empty())
            ids.push_back("rId" + n);
        presentationRelationships += P::relationship("rId" + n, "slide", "slides/slide" + n + ".xml");
        parts["ppt/slides/slide" + n + ".xml"] =
            std::string(kHeader) + "<p:sld" + kNamespaces + ">" + spTree(slides_[i].tree) + "</p:sld>";
        std::string slideRelationships = P::relationship("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml");
        if (!slides_[i].notesTree.empty()) {
            slideRelationships += P::relationship("rId2", "notesSlide", "../notesSlides/notesSlide" + n + ".xml");
            parts["ppt/notesSlides/notesSlide" + n + ".xml"] =
                std::string(kHeader) + "<p:notes" + kNamespaces + ">" + spTree(slides_[i].notesTree) + "</p:notes>";
        }
        if (!slides_[i].comments.empty()) {
            slideRelationships += P::relationship("rId3", "comments", "../comments/comment" + n + ".xml");
            parts["ppt/comments/comment" + n + ".xml"] =
                std::string(kHeader) + "<p:cmLst" + kNamespaces + ">" + slides_[i].comments + "</p:cmLst>";
        }
        parts["ppt/slides/_rels/slide" + n + ".xml.rels"] = P::relationships(slideRelationships);
    }
    std::string list;
    for (size_t i = 0; i < ids.size(); ++i)
        list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"" + ids[i] + "\"/>";
    parts["ppt/_rels/presentation.xml.rels"] = P::relationships(presentationRelationships);
    parts["ppt/presentation.xml"] = std::string(kHeader) + "<p:presentation" + kNamespaces +
                                    "><p:sldMasterIdLst/><p:sldIdLst>" + list +
                                    "</p:sldIdLst><p:sldSz cx=\"9144000\" cy=\"6858000\"/></p:presentation>";
    return parts_.zipBytes(parts);
}

std::string PptxBuilder::shape(const std::vector<std::string>& paragraphs)
{
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Text\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/>" +
           body("p:txBody", paragraphs) + "</p:sp>";
}

std::string PptxBuilder::group(const std::string& children)
{
    return "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"3\" name=\"Group\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
           "<p:grpSpPr/>" +
           children + "</p:grpSp>";
}

std::string PptxBuilder::table(const std::vector<std::vector<std::string>>& rows)
{
    std::string xml = "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"Table\"/>"
                      "<p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr><p:xfrm/><a:graphic>"
                      "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\"><a:tbl>"
                      "<a:tblGrid><a:gridCol w=\"100\"/></a:tblGrid>";
    for (const auto& row : rows) {
        xml += "<a:tr h=\"100\">";
        for (const std::string& cell : row)
            xml += "<a:tc>" + body("a:txBody", {cell}) + "<a:tcPr/></a:tc>";
        xml += "</a:tr>";
    }
    return xml + "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
}

std::string PptxBuilder::comment(const std::string& text)
{
    return "<p:cm authorId=\"0\" dt=\"2026-01-01T00:00:00\" idx=\"1\"><p:pos x=\"10\" y=\"10\"/><p:text>" + text +
           "</p:text></p:cm>";
}

}  // namespace quillet::test
