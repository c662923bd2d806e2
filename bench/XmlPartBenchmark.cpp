// The tag scanner and handler builder are the hot path of every package
// reader: large spreadsheet and word-processing parts, deflated in a ZIP
// written once at start, scanned through handler trees that touch every text
// run. Reports MB/s of uncompressed XML and the process's peak memory, which
// must stay flat as the parts grow.
#include "package/ByteSource.h"
#include "package/opc/XmlPart.h"
#include "package/xml/ElementHandler.h"
#include "package/xml/NameTokens.h"
#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/XmlTagScanner.h"
#include "package/zip/ZipArchive.h"

#include <benchmark/benchmark.h>

#include <minizip/zip.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace quillet;

constexpr size_t kMegabyte = 1000 * 1000;

double peakMemoryMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string sheetRows(size_t firstRow, size_t count)
{
    std::string xml;
    for (size_t row = firstRow; row < firstRow + count; ++row) {
        const std::string n = std::to_string(row);
        xml += "<row r=\"" + n + "\" spans=\"1:6\" x14ac:dyDescent=\"0.25\">";
        xml += "<c r=\"A" + n + "\" t=\"s\"><v>" + std::to_string(row % 977) + "</v></c>";
        xml += "<c r=\"B" + n + "\" s=\"3\"><v>" + std::to_string(row * 37 % 100003) + ".25</v></c>";
        xml += "<c r=\"C" + n + "\"><f>B" + n + "*2</f><v>" + std::to_string(row * 74 % 200006) + ".5</v></c>";
        xml += "<c r=\"D" + n + "\" t=\"inlineStr\"><is><t>Item &amp; note " + n + "</t></is></c>";
        xml += "<c r=\"E" + n + "\" t=\"b\"><v>" + std::to_string(row & 1) + "</v></c>";
        xml += "<c r=\"F" + n + "\" s=\"7\"/></row>";
    }
    return xml;
}

std::string paragraphs(size_t first, size_t count)
{
    static const char* const words[] = {"lorem",       "ipsum",      "dolor",      "sit", "amet",
                                        "consectetur", "adipiscing", "elit",       "sed", "do",
                                        "eiusmod",     "tempor",     "incididunt", "ut",  "labore"};
    std::string xml;
    for (size_t p = first; p < first + count; ++p) {
        std::string text;
        for (size_t w = 0; w < 12; ++w)
            text += std::string(words[(p * 7 + w * 3) % 15]) + " ";
        xml += "<w:p w:rsidR=\"00A1" + std::to_string(p % 9000 + 1000) +
               "\" w:rsidRDefault=\"00B2C3D4\"><w:pPr><w:pStyle w:val=\"Normal\"/><w:spacing w:after=\"120\"/>"
               "</w:pPr><w:r><w:rPr><w:b/><w:sz w:val=\"24\"/></w:rPr><w:t xml:space=\"preserve\">" +
               text + "</w:t></w:r><w:r><w:t>Paragraph " + std::to_string(p) +
               " &#x2014; end.</w:t></w:r><w:bookmarkStart w:id=\"" + std::to_string(p) +
               "\" w:name=\"b\"/><w:bookmarkEnd w:id=\"" + std::to_string(p) + "\"/></w:p>";
    }
    return xml;
}

// Streams a part of at least the given size into the open archive.
size_t writePart(zipFile zip, const std::string& name, size_t size, bool sheet)
{
    zip_fileinfo info{};
    zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION,
                          1);
    const std::string head =
        sheet ? "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<worksheet xmlns=\"x\"><dimension "
                "ref=\"A1:F9\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetData>"
              : "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document xmlns:w=\"x\"><w:body>";
    const std::string tail = sheet ? "</sheetData></worksheet>" : "<w:sectPr/></w:body></w:document>";
    size_t written = 0;
    zipWriteInFileInZip(zip, head.data(), static_cast<unsigned>(head.size()));
    written += head.size();
    for (size_t first = 1; written < size; first += 1000) {
        const std::string chunk = sheet ? sheetRows(first, 1000) : paragraphs(first, 1000);
        zipWriteInFileInZip(zip, chunk.data(), static_cast<unsigned>(chunk.size()));
        written += chunk.size();
    }
    zipWriteInFileInZip(zip, tail.data(), static_cast<unsigned>(tail.size()));
    zipCloseFileInZip(zip);
    return written + tail.size();
}

struct Fixture {
    std::string folder;
    std::string path;

    Fixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-xml-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        path = folder + "/parts.zip";
        zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
        for (size_t megabytes : {12, 25, 50}) {
            writePart(zip, "sheet" + std::to_string(megabytes) + ".xml", megabytes * kMegabyte, true);
            writePart(zip, "document" + std::to_string(megabytes) + ".xml", megabytes * kMegabyte, false);
        }
        zipClose(zip, nullptr);
    }
    ~Fixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

// Handlers that follow the spreadsheet rows down to every value and inline string.
struct TextTotal {
    size_t bytes = 0;
    size_t runs = 0;
};

class TextHandler : public DefaultElementHandler {
public:
    explicit TextHandler(TextTotal& total) : total_(total) {}
    void characters(const std::string& text) override
    {
        total_.bytes += text.size();
        ++total_.runs;
    }

private:
    TextTotal& total_;
};

class CellHandler : public DefaultElementHandler {
public:
    explicit CellHandler(TextTotal& total) : total_(total) {}
    void startElement(int, const AttributeList& attributes) override
    {
        total_.bytes += attributes.text(token::sml::t).size();
    }
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::v || token == token::sml::t)
            return adoptChild<TextHandler>(total_);
        if (token == token::sml::text || token == token::sml::si)
            return adoptChild<CellHandler>(total_);
        return nullptr;
    }

private:
    TextTotal& total_;
};

class RowHandler : public DefaultElementHandler {
public:
    explicit RowHandler(TextTotal& total) : total_(total) {}
    bool declinesAttributes() const override { return true; }
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::sml::c ? adoptChild<CellHandler>(total_) : nullptr;
    }

private:
    TextTotal& total_;
};

class WorksheetHandler : public DefaultElementHandler {
public:
    explicit WorksheetHandler(TextTotal& total) : total_(total) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::sml::sheetData)
            return adoptChild<WorksheetHandler>(total_);
        if (token == token::sml::row)
            return adoptChild<RowHandler>(total_);
        return nullptr;
    }

private:
    TextTotal& total_;
};

// And the word-processing body down to every w:t.
class RunHandler : public DefaultElementHandler {
public:
    explicit RunHandler(TextTotal& total) : total_(total) {}
    ElementHandler* getChildHandler(int token) override
    {
        return token == token::w::t ? adoptChild<TextHandler>(total_) : nullptr;
    }

private:
    TextTotal& total_;
};

class BodyHandler : public DefaultElementHandler {
public:
    explicit BodyHandler(TextTotal& total) : total_(total) {}
    ElementHandler* getChildHandler(int token) override
    {
        if (token == token::w::body || token == token::w::p)
            return adoptChild<BodyHandler>(total_);
        if (token == token::w::r)
            return adoptChild<RunHandler>(total_);
        return nullptr;
    }

private:
    TextTotal& total_;
};

void scanPart(benchmark::State& state, bool sheet)
{
    Fixture& files = fixture();
    ZipArchive archive(files.path);
    const std::string name = (sheet ? "sheet" : "document") + std::to_string(state.range(0)) + ".xml";
    const int64_t size = archive.entrySize(name);
    TextTotal total;
    for (auto _ : state) {
        total = TextTotal();
        if (sheet) {
            WorksheetHandler root(total);
            parseXmlPart(&archive, name, &root, Vocabulary::Spreadsheet);
        } else {
            BodyHandler root(total);
            parseXmlPart(&archive, name, &root, Vocabulary::WordProcessing);
        }
        benchmark::DoNotOptimize(total.bytes);
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["xml_MB"] = static_cast<double>(size) / kMegabyte;
    state.counters["text_runs"] = static_cast<double>(total.runs);
    state.counters["peak_rss_MB"] = peakMemoryMegabytes();
}

void BM_SpreadsheetPart(benchmark::State& state)
{
    scanPart(state, true);
}
BENCHMARK(BM_SpreadsheetPart)->Arg(12)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WordProcessingPart(benchmark::State& state)
{
    scanPart(state, false);
}
BENCHMARK(BM_WordProcessingPart)->Arg(12)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// The inflate alone, for comparison: the ceiling the scanner works under.
void BM_InflateOnly(benchmark::State& state)
{
    ZipArchive archive(fixture().path);
    const std::string name = "sheet50.xml";
    std::string buffer(8192, '\0');
    for (auto _ : state) {
        std::unique_ptr<ZipEntryStream> stream = archive.openEntry(name);
        while (stream->read(buffer.data(), static_cast<int>(buffer.size())) > 0) {
        }
    }
    state.SetBytesProcessed(state.iterations() * archive.entrySize(name));
}
BENCHMARK(BM_InflateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scanner and builder alone, on a part held in memory.
void BM_MemoryParts(benchmark::State& state)
{
    const bool sheet = state.range(0) == 0;
    const std::string xml = sheet ? "<worksheet><sheetData>" + sheetRows(1, 40000) + "</sheetData></worksheet>"
                                  : "<w:document><w:body>" + paragraphs(1, 20000) + "</w:body></w:document>";
    TextTotal total;
    for (auto _ : state) {
        WorksheetHandler sheetRoot(total);
        BodyHandler bodyRoot(total);
        TokenHandlerDriver builder(sheet ? static_cast<ElementHandler*>(&sheetRoot) : &bodyRoot,
                                   sheet ? Vocabulary::Spreadsheet : Vocabulary::WordProcessing);
        XmlTagScanner scanner(builder);
        MemoryByteSource source(xml.data(), xml.size(), 8192);
        scanner.scan(source);
        benchmark::DoNotOptimize(total.bytes);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(xml.size()));
}
BENCHMARK(BM_MemoryParts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
