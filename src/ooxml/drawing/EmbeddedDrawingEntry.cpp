#include "ooxml/drawing/EmbeddedDrawingEntry.h"

#include "ooxml/drawing/DrawingHandler.h"
#include "output/TextSink.h"
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/XmlPart.h"
#include "package/zip/ZipArchive.h"
#include "platform/Utf8.h"

namespace quillet {

bool strictUtf8ToUtf16(const std::string& utf8, std::u16string& out)
{
    out.clear();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    for (size_t i = 0; i < n;) {
        const unsigned char lead = s[i];
        char32_t cp = lead;
        size_t extra = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            cp = lead & 0x1F, extra = 1, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            cp = lead & 0x0F, extra = 2, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            cp = lead & 0x07, extra = 3, least = 0x10000;
        } else if (lead >= 0x80) {
            out.clear();
            return false;
        }
        bool valid = n - i - 1 >= extra;
        for (size_t k = 1; valid && k <= extra; ++k) {
            valid = (s[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (!valid || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.clear();
            return false;
        }
        appendUtf16(cp, out);
        i += extra + 1;
    }
    return true;
}

void appendDrawingRun(TextSink* sink, const std::string& utf8)
{
    std::u16string wide;
    strictUtf8ToUtf16(utf8, wide);
    sink->appendWide(wide);
    sink->appendWide(u";", 1);
}

void appendEmbeddedDrawingText(const std::string& packagePath, TextSink& sink)
{
    ZipArchive archive(packagePath);
    if (!archive.isOpen())
        return;
    OpcPackage package(&archive);
    if (PackagePart* shape = package.shapeXmlPart()) {
        EmbeddedShapeHandler root(&sink);
        parseXmlPart(&archive, shape->path(), &root, Vocabulary::Presentation);
    }
    if (PackagePart* frame = package.graphicFrameDocPart()) {
        EmbeddedTableHandler root(&sink);
        parseXmlPart(&archive, frame->path(), &root, Vocabulary::Presentation);
    }
}

}  // namespace quillet
