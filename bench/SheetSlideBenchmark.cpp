// Spreadsheet and presentation exports end to end, on packages generated at
// start: a workbook with just under 10 MiB of worksheet XML (the most that is
// still read cell by cell) and presentations of 100 and 500 slides with
// tables and notes. Reports documents per second, MB/s of uncompressed XML
// beside a plain inflate of the same parts, and the process's peak memory,
// which must not grow with the document.
#include "ooxml/pptx/PptxTextExtractor.h"
#include "ooxml/xlsx/XlsxTextExtractor.h"
#include "package/zip/ZipArchive.h"

#include <benchmark/benchmark.h>

#include <minizip/zip.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace quillet;

constexpr double kMegabyte = 1000.0 * 1000.0;

double peakMemoryMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

const char* const kRels = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";

std::string relationship(const std::string& id, const std::string& type, const std::string& target)
{
    return "<Relationship Id=\"" + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type + "\" Target=\"" +
           target + "\"/>";
}

class Package {
public:
    explicit Package(const std::string& path) : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
    ~Package() { zipClose(zip_, nullptr); }
    void add(const std::string& name, const std::string& bytes)
    {
        zip_fileinfo info{};
        zipOpenNewFileInZip64(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, 1);
        zipWriteInFileInZip(zip_, bytes.data(), unsigned(bytes.size()));
        zipCloseFileInZip(zip_);
    }

private:
    zipFile zip_;
};

std::string word(size_t n)
{
    static const char* const words[] = {"revenue", "cost",    "北京", "margin", "forecast", "région",
                                        "total",   "quarter", "上海", "growth", "budget",   "delta"};
    return words[n % 12];
}

// Rows of six cells: shared strings, numbers, a formula, a boolean; about
// 9.5 MB of worksheet XML and 250,000+ cells.
void writeWorkbook(const std::string& path)
{
    Package zip(path);
    zip.add("_rels/.rels", kRels + relationship("rId1", "officeDocument", "xl/workbook.xml") + "</Relationships>");
    zip.add("xl/_rels/workbook.xml.rels", kRels + relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                                              relationship("rId2", "sharedStrings", "sharedStrings.xml") +
                                              "</Relationships>");
    zip.add("xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/>"
                               "</sheets></workbook>");
    std::string strings = "<sst count=\"5000\" uniqueCount=\"5000\">";
    for (size_t i = 0; i < 5000; ++i)
        strings += "<si><t>" + word(i) + " " + word(i / 12) + " " + std::to_string(i) + "</t></si>";
    zip.add("xl/sharedStrings.xml", strings + "</sst>");
    std::string sheet = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet><sheetData>";
    for (size_t row = 1; sheet.size() < 9500000; ++row) {
        const std::string n = std::to_string(row);
        sheet += "<row r=\"" + n + "\" spans=\"1:6\">";
        sheet += "<c r=\"A" + n + "\" t=\"s\"><v>" + std::to_string(row * 7 % 5000) + "</v></c>";
        sheet += "<c r=\"B" + n + "\" s=\"2\"><v>" + std::to_string(row * 37 % 100003) + ".25</v></c>";
        sheet += "<c r=\"C" + n + "\"><f>B" + n + "*2</f><v>" + std::to_string(row * 74 % 200006) + ".5</v></c>";
        sheet += "<c r=\"D" + n + "\" t=\"s\"><v>" + std::to_string(row * 13 % 5000) + "</v></c>";
        sheet += "<c r=\"E" + n + "\" t=\"b\"><v>" + std::to_string(row & 1) + "</v></c>";
        sheet += "<c r=\"F" + n + "\"><v>" + std::to_string(row) + "</v></c></row>";
    }
    zip.add("xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>");
}

std::string shape(const std::string& body)
{
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Title\"/><p:cNvSpPr/><p:nvPr><p:ph type=\"title\"/></p:nvPr>"
           "</p:nvSpPr><p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"100\" cy=\"100\"/></a:xfrm></p:spPr>"
           "<p:txBody><a:bodyPr/><a:lstStyle/>" +
           body + "</p:txBody></p:sp>";
}

std::string paragraph(size_t n, size_t words)
{
    std::string text;
    for (size_t w = 0; w < words; ++w)
        text += word(n * 5 + w) + " ";
    return "<a:p><a:pPr lvl=\"1\"/><a:r><a:rPr lang=\"en-US\" sz=\"2000\" dirty=\"0\"/><a:t>" + text +
           "</a:t></a:r></a:p>";
}

// Every slide: a title, a body of five paragraphs, a 3x4 table, notes.
void writePresentation(const std::string& path, size_t slides)
{
    Package zip(path);
    const std::string ns = " xmlns:a=\"a\" xmlns:r=\"r\" xmlns:p=\"p\"";
    zip.add("_rels/.rels", kRels + relationship("rId1", "officeDocument", "ppt/presentation.xml") + "</Relationships>");
    std::string list, relationships;
    for (size_t s = 1; s <= slides; ++s) {
        const std::string n = std::to_string(s);
        list += "<p:sldId id=\"" + std::to_string(255 + s) + "\" r:id=\"rId" + n + "\"/>";
        relationships += relationship("rId" + n, "slide", "slides/slide" + n + ".xml");
        std::string tree = shape(paragraph(s, 4));
        std::string body;
        for (size_t p = 0; p < 5; ++p)
            body += paragraph(s + p, 12);
        tree += shape(body);
        tree += "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"Table\"/><p:cNvGraphicFramePr/><p:nvPr/>"
                "</p:nvGraphicFramePr><p:xfrm/><a:graphic><a:graphicData uri=\"t\"><a:tbl><a:tblGrid/>";
        for (size_t r = 0; r < 4; ++r) {
            tree += "<a:tr h=\"370840\">";
            for (size_t c = 0; c < 3; ++c)
                tree +=
                    "<a:tc><a:txBody><a:bodyPr/>" + paragraph(s * 12 + r * 3 + c, 2) + "</a:txBody><a:tcPr/></a:tc>";
            tree += "</a:tr>";
        }
        tree += "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
        zip.add("ppt/slides/slide" + n + ".xml",
                "<p:sld" + ns + "><p:cSld><p:spTree>" + tree + "</p:spTree></p:cSld></p:sld>");
        zip.add("ppt/slides/_rels/slide" + n + ".xml.rels",
                kRels + relationship("rId1", "notesSlide", "../notesSlides/notesSlide" + n + ".xml") +
                    "</Relationships>");
        zip.add("ppt/notesSlides/notesSlide" + n + ".xml",
                "<p:notes" + ns + "><p:cSld><p:spTree>" + shape(paragraph(s, 30)) + "</p:spTree></p:cSld></p:notes>");
    }
    zip.add("ppt/_rels/presentation.xml.rels", kRels + relationships + "</Relationships>");
    zip.add("ppt/presentation.xml", "<p:presentation" + ns + "><p:sldIdLst>" + list + "</p:sldIdLst></p:presentation>");
}

struct Fixture {
    std::string folder;

    Fixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-sheet-slide-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        std::filesystem::create_directory(folder + "/out");
        writeWorkbook(file(0));
        writePresentation(file(100), 100);
        writePresentation(file(500), 500);
    }
    ~Fixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    // 0: the workbook; otherwise the presentation of that many slides.
    std::string file(int64_t slides) const
    {
        return folder + (slides == 0 ? "/book.xlsx" : "/slides" + std::to_string(slides) + ".pptx");
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

// The XML parts an export with the flags reads: all but the relationships.
int64_t xmlBytes(const std::string& path, bool notes)
{
    ZipArchive archive(path);
    int64_t total = 0;
    for (const auto& [name, record] : archive.index()) {
        if (name.find("_rels/") == std::string::npos && (notes || name.find("notesSlides/") == std::string::npos))
            total += int64_t(record.uncompressedSize);
    }
    return total;
}

void exportDocument(benchmark::State& state, int64_t slides, uint32_t flags)
{
    Fixture& files = fixture();
    const std::string path = files.file(slides);
    for (auto _ : state) {
        ZipArchive archive(path);
        if (slides == 0)
            XlsxTextExtractor().exportText(archive, files.folder + "/out", flags);
        else
            PptxTextExtractor().exportText(archive, files.folder + "/out", flags);
    }
    const int64_t bytes = xmlBytes(path, flags == 0x110);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations());
    state.counters["xml_MB"] = double(bytes) / kMegabyte;
    state.counters["text_MB"] = double(std::filesystem::file_size(files.folder + "/out/1.txt")) / kMegabyte;
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}

void BM_XlsxExport(benchmark::State& state)
{
    exportDocument(state, 0, 0x10);
}
BENCHMARK(BM_XlsxExport)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arguments: slides, and 1 to read the notes as well.
void BM_PptxExport(benchmark::State& state)
{
    exportDocument(state, state.range(0), state.range(1) ? 0x110 : 0x10);
}
BENCHMARK(BM_PptxExport)->Args({100, 0})->Args({500, 0})->Args({500, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// The inflate of the same XML parts alone: what the export cannot beat.
void BM_InflateSameParts(benchmark::State& state)
{
    const std::string path = fixture().file(state.range(0));
    ZipArchive archive(path);
    std::vector<std::string> names;
    for (const auto& [name, record] : archive.index())
        if (name.find("_rels/") == std::string::npos)
            names.push_back(name);
    std::string buffer(65536, '\0');
    for (auto _ : state) {
        for (const std::string& name : names) {
            std::unique_ptr<ZipEntryStream> stream = archive.openEntry(name);
            while (stream->read(buffer.data(), int(buffer.size())) > 0) {
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * xmlBytes(path, true));
}
BENCHMARK(BM_InflateSameParts)->Arg(0)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
