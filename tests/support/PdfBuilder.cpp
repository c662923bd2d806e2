#include "support/PdfBuilder.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace quillet::test {
namespace {

const char* const kRgb = "/ColorSpace /DeviceRGB /BitsPerComponent 8";

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string hex4(unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

std::string stream(const std::string& dictionary, const std::string& data)
{
    return "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

}  // namespace

PdfBuilder& PdfBuilder::textPage(const std::vector<std::string>& lines)
{
    std::string content = "BT /F1 12 Tf 14 TL 72 720 Td\n";
    for (const std::string& line : lines)
        content += "(" + escaped(line) + ") Tj T*\n";
    pages_.push_back({content + "ET", {}});
    return *this;
}

PdfBuilder& PdfBuilder::cjkPage(const std::u16string& line)
{
    std::string codes;
    for (char16_t c : line) {
        codes += hex4(c);
        cjkCharacters_ += c;
    }
    pages_.push_back({"BT /F2 12 Tf 72 720 Td <" + codes + "> Tj ET", {}});
    return *this;
}

PdfBuilder& PdfBuilder::picturePage(const std::vector<std::pair<int, int>>& sizes)
{
    Page page;
    int y = 700;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const auto [w, h] = sizes[i];
        std::string data;
        for (int p = 0; p < w * h; ++p)
            data += std::string{char(40 * i), char(255 - 40 * i), char(100)};
        page.pictures.push_back({w, h, data, kRgb, ""});
        page.content += "q " + std::to_string(w * 10) + " 0 0 " + std::to_string(h * 10) + " 72 " + std::to_string(y) +
                        " cm /Im" + std::to_string(i) + " Do Q\n";
        y -= h * 10 + 10;
    }
    pages_.push_back(page);
    return *this;
}

PdfBuilder& PdfBuilder::onePicturePage(Picture picture, const std::string& content)
{
    pages_.push_back({content, {std::move(picture)}});
    return *this;
}

PdfBuilder& PdfBuilder::repeatedPicturePage(int times)
{
    std::string content;
    for (int i = 0; i < times; ++i)
        content += "q 4 0 0 4 " + std::to_string(10 + (i % 100) * 5) + " " + std::to_string(10 + (i / 100) * 5) +
                   " cm /Im0 Do Q\n";
    return onePicturePage({2, 2, std::string(12, '\x80'), kRgb, ""}, content);
}

PdfBuilder& PdfBuilder::hugePicturePage(int width, int height)
{
    return onePicturePage({width, height, std::string(size_t(width) * 3, '\x40'), kRgb, ""},
                          "q 100 0 0 100 72 600 cm /Im0 Do Q\n");
}

PdfBuilder::Picture PdfBuilder::halfStencil()
{
    std::string rows;
    for (int y = 0; y < 8; ++y)
        rows += std::string("\x00\xFF", 2);  // 0 paints
    return {16, 8, rows, "/ImageMask true /BitsPerComponent 1", ""};
}

PdfBuilder& PdfBuilder::stencilPage()
{
    return onePicturePage(halfStencil(), "1 0 0 rg q 160 0 0 80 72 600 cm /Im0 Do Q\n");
}

PdfBuilder& PdfBuilder::twoColourStencilPage()
{
    return onePicturePage(halfStencil(),
                          "1 0 0 rg q 160 0 0 80 72 600 cm /Im0 Do Q 0 0 1 rg q 160 0 0 80 72 400 cm /Im0 Do Q\n");
}

PdfBuilder& PdfBuilder::softMaskPage()
{
    std::string blue, mask;
    for (int i = 0; i < 16 * 8; ++i)
        blue += std::string("\x00\x00\xFF", 3);
    for (int y = 0; y < 4; ++y)
        mask += std::string(4, '\xFF') + std::string(4, '\x00');
    return onePicturePage({16, 8, blue, kRgb, mask}, "q 160 0 0 80 72 600 cm /Im0 Do Q\n");
}

PdfBuilder& PdfBuilder::rawPage(const std::string& content)
{
    pages_.push_back({content, {}});
    return *this;
}

PdfBuilder& PdfBuilder::slowPage(int times)
{
    std::string content;
    for (int i = 0; i < times; ++i)
        content += "/Fm0 Do\n";
    pages_.push_back({content + "BT /F1 12 Tf 72 720 Td (late) Tj ET", {}, true});
    return *this;
}

PdfBuilder& PdfBuilder::declaredPageCount(const std::string& count)
{
    declaredCount_ = count;
    return *this;
}

PdfBuilder& PdfBuilder::unknownSecurityHandler()
{
    unknownHandler_ = true;
    return *this;
}

std::string PdfBuilder::build() const
{
    // 1 catalog, 2 page tree, 3 Latin font, 4-6 CJK font, then per page its
    // page, content and pictures.
    std::vector<std::string> objects(6);
    std::string kids;
    const int firstPage = 7;
    int next = firstPage;
    for (const Page& page : pages_) {
        const int pageNumber = next++;
        const int contentNumber = next++;
        kids += std::to_string(pageNumber) + " 0 R ";
        std::string xobjects;
        std::vector<std::string> pictureObjects;
        for (size_t i = 0; i < page.pictures.size(); ++i) {
            const Picture& picture = page.pictures[i];
            xobjects += "/Im" + std::to_string(i) + " " + std::to_string(next++) + " 0 R ";
            std::string dictionary = "/Type /XObject /Subtype /Image /Width " + std::to_string(picture.width) +
                                     " /Height " + std::to_string(picture.height) + " " + picture.dictionary;
            if (!picture.maskData.empty())
                dictionary += " /SMask " + std::to_string(next++) + " 0 R";
            pictureObjects.push_back(stream(dictionary, picture.data));
            if (!picture.maskData.empty())
                pictureObjects.push_back(stream("/Type /XObject /Subtype /Image /Width 8 /Height 4 "
                                                "/ColorSpace /DeviceGray /BitsPerComponent 8",
                                                picture.maskData));
        }
        if (page.slowForms) {
            const int outer = next++, inner = next++;
            xobjects += "/Fm0 " + std::to_string(outer) + " 0 R ";
            std::string draws, pairs;
            for (int i = 0; i < 1000; ++i) {
                draws += "/Fm1 Do ";
                pairs += "q Q ";
            }
            const std::string form = "/Type /XObject /Subtype /Form /BBox [0 0 10 10]";
            pictureObjects.push_back(
                stream(form + " /Resources << /XObject << /Fm1 " + std::to_string(inner) + " 0 R >> >>", draws));
            pictureObjects.push_back(stream(form, pairs));
        }
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents " +
                          std::to_string(contentNumber) +
                          " 0 R /Resources << /Font << /F1 3 0 R /F2 4 0 R >> /XObject << " + xobjects + ">> >> >>");
        objects.push_back(stream("", page.content));
        objects.insert(objects.end(), pictureObjects.begin(), pictureObjects.end());
    }
    objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " +
                 (declaredCount_.empty() ? std::to_string(pages_.size()) : declaredCount_) + " >>";
    objects[2] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>";
    objects[3] = "<< /Type /Font /Subtype /Type0 /BaseFont /SimSun /Encoding /Identity-H /DescendantFonts [5 0 R] "
                 "/ToUnicode 6 0 R >>";
    objects[4] = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /SimSun /CIDSystemInfo << /Registry (Adobe) "
                 "/Ordering (Identity) /Supplement 0 >> /FontDescriptor << /Type /FontDescriptor /FontName /SimSun "
                 "/Flags 4 /FontBBox [0 -200 1000 900] /ItalicAngle 0 /Ascent 900 /Descent -200 /CapHeight 700 "
                 "/StemV 80 >> /DW 1000 >>";
    const std::set<char16_t> used(cjkCharacters_.begin(), cjkCharacters_.end());
    std::string cmap = "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /Q-UCS def "
                       "/CMapType 2 def 1 begincodespacerange <0000> <FFFF> endcodespacerange\n";
    if (!used.empty()) {
        cmap += std::to_string(used.size()) + " beginbfchar\n";
        for (char16_t c : used)
            cmap += "<" + hex4(c) + "> <" + hex4(c) + ">\n";
        cmap += "endbfchar\n";
    }
    objects[5] = stream("", cmap + "endcmap CMapName currentdict /CMap defineresource pop end end");

    std::string pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R";
    if (unknownHandler_)
        pdf += " /Encrypt << /Filter /Quillet.Bogus /V 2 /R 3 /Length 128 /P -4 /O (0123456789abcdef0123456789abcdef) "
               "/U (0123456789abcdef0123456789abcdef) >> /ID [<00112233445566778899AABBCCDDEEFF> "
               "<00112233445566778899AABBCCDDEEFF>]";
    pdf += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace quillet::test
