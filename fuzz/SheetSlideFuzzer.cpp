// Bytes as the XML parts of a spreadsheet or presentation package: the
// first byte picks the kind (even: spreadsheet), the rest is cut at each
// "\n====\n" into the parts below, stored in a ZIP with fixed relationships,
// and exported with every flag. Mutating the XML rather than the ZIP keeps
// the inputs reaching the handlers.
#include "FuzzScratch.h"

#include "ooxml/pptx/PptxTextExtractor.h"
#include "ooxml/xlsx/XlsxTextExtractor.h"
#include "package/zip/ZipArchive.h"
#include "support/ZipBuilder.h"

#include <stdexcept>

namespace {

using namespace quillet::test;

// The fuzzed parts are named in order; rId1.. of the main part lead to the later ones.
const char* const kSheetParts[] = {"xl/workbook.xml", "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml",
                                   "xl/worksheets/sheet2.xml", "xl/comments1.xml"};
const char* const kSlideParts[] = {"ppt/presentation.xml",      "ppt/slides/slide1.xml",
                                   "ppt/slides/slide2.xml",     "ppt/notesSlides/notesSlide1.xml",
                                   "ppt/comments/comment1.xml", "ppt/diagrams/data1.xml"};

Parts relationshipParts(bool sheets)
{
    if (sheets)
        return {
            {"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))},
            {"xl/_rels/workbook.xml.rels", relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                                                         relationship("rId2", "worksheet", "worksheets/sheet2.xml") +
                                                         relationship("rId3", "sharedStrings", "sharedStrings.xml"))},
            {"xl/worksheets/_rels/sheet1.xml.rels",
             relationships(relationship("rId1", "comments", "../comments1.xml"))}};
    return {{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "ppt/presentation.xml"))},
            {"ppt/_rels/presentation.xml.rels", relationships(relationship("rId1", "slide", "slides/slide1.xml") +
                                                              relationship("rId2", "slide", "slides/slide2.xml"))},
            {"ppt/slides/_rels/slide1.xml.rels",
             relationships(relationship("rId1", "notesSlide", "../notesSlides/notesSlide1.xml") +
                           relationship("rId2", "comments", "../comments/comment1.xml") +
                           relationship("rId3", "diagramData", "../diagrams/data1.xml"))}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready() || size == 0)
        return 0;
    const bool sheets = data[0] % 2 == 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    ZipBuilder zip;
    for (const auto& [name, bytes] : relationshipParts(sheets))
        zip.add(name, bytes, true);
    for (size_t at = 0, cut = 0, part = 0; cut != std::string::npos && part < (sheets ? 5u : 6u);
         at = cut + 6, ++part) {
        cut = text.find("\n====\n", at);
        zip.add((sheets ? kSheetParts : kSlideParts)[part], text.substr(at, cut == std::string::npos ? cut : cut - at),
                true);
    }
    const std::string path = scratch.file("input.zip");
    const std::string out = scratch.file("out");
    std::filesystem::remove(path);
    std::filesystem::create_directory(out);
    try {
        zip.write(path);
        quillet::ZipArchive archive(path);
        if (sheets)
            quillet::XlsxTextExtractor().exportText(archive, out, 0x111);
        else
            quillet::PptxTextExtractor().exportText(archive, out, 0x111);
    } catch (const std::runtime_error&) {
        // a malformed tag: 4098 at the library boundary; or a part minizip cannot store
    }
    return 0;
}
