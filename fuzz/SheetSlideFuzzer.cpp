// Bytes as the XML parts of a spreadsheet or presentation package: the
// first byte picks the kind (even: spreadsheet), the rest is cut at each
// "\n====\n" into the parts below, stored in a ZIP with fixed relationships,
// and exported with every flag. Mutating the XML rather than the ZIP keeps
// the inputs reaching the handlers.
#include "FuzzScratch.h"

#include "ooxml/pptx/PptxTextExtractor.h"
#include "ooxml/xlsx/XlsxTextExtractor.h"
#include "package/zip/ZipArchive.h"

#include <minizip/zip.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string relationships(const std::vector<std::pair<std::string, std::string>>& typeAndTarget)
{
    std::string xml = "<Relationships>";
    for (size_t i = 0; i < typeAndTarget.size(); ++i)
        xml += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + kTypes + typeAndTarget[i].first +
               "\" Target=\"" + typeAndTarget[i].second + "\"/>";
    return xml + "</Relationships>";
}

// Parts named in order; rId1.. of the main part lead to the later ones.
const char* const kSheetParts[] = {"xl/workbook.xml", "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml",
                                   "xl/worksheets/sheet2.xml", "xl/comments1.xml"};
const char* const kSlideParts[] = {"ppt/presentation.xml", "ppt/slides/slide1.xml", "ppt/slides/slide2.xml",
                                   "ppt/notesSlides/notesSlide1.xml", "ppt/comments/comment1.xml"};

bool writePackage(const std::string& path, bool sheets, const std::vector<std::string>& xml)
{
    std::vector<std::pair<std::string, std::string>> entries;
    const char* const* names = sheets ? kSheetParts : kSlideParts;
    for (size_t i = 0; i < xml.size() && i < 5; ++i)
        entries.emplace_back(names[i], xml[i]);
    entries.emplace_back("_rels/.rels", relationships({{"officeDocument", names[0]}}));
    if (sheets) {
        entries.emplace_back("xl/_rels/workbook.xml.rels", relationships({{"worksheet", "worksheets/sheet1.xml"},
                                                                          {"worksheet", "worksheets/sheet2.xml"},
                                                                          {"sharedStrings", "sharedStrings.xml"}}));
        entries.emplace_back("xl/worksheets/_rels/sheet1.xml.rels", relationships({{"comments", "../comments1.xml"}}));
    } else {
        entries.emplace_back("ppt/_rels/presentation.xml.rels",
                             relationships({{"slide", "slides/slide1.xml"}, {"slide", "slides/slide2.xml"}}));
        entries.emplace_back("ppt/slides/_rels/slide1.xml.rels",
                             relationships({{"notesSlide", "../notesSlides/notesSlide1.xml"},
                                            {"comments", "../comments/comment1.xml"}}));
    }
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr)
        return false;
    bool ok = true;
    for (const auto& [name, bytes] : entries) {
        zip_fileinfo info{};
        ok = ok && zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, bytes.data(), unsigned(bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready() || size == 0)
        return 0;
    const bool sheets = data[0] % 2 == 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        const size_t cut = text.find("\n====\n", at);
        parts.push_back(text.substr(at, cut == std::string::npos ? std::string::npos : cut - at));
        if (cut == std::string::npos)
            break;
        at = cut + 6;
    }
    const std::string path = scratch.file("input.zip");
    const std::string out = scratch.file("out");
    std::filesystem::remove(path);
    std::filesystem::create_directory(out);
    if (!writePackage(path, sheets, parts))
        return 0;
    quillet::ZipArchive archive(path);
    try {
        if (sheets)
            quillet::XlsxTextExtractor().exportText(archive, out, 0x111);
        else
            quillet::PptxTextExtractor().exportText(archive, out, 0x111);
    } catch (const std::runtime_error&) {
        // a malformed tag: 4098 at the library boundary
    }
    return 0;
}
