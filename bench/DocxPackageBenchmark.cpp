// Throughput of the word-processing package path on two generated documents:
// 250 pages of paragraphs, tables, comments and per-section headers and
// footers; and one main part of just under 50 MiB. Each export is set against
// a plain inflate of the same parts, to show where the time goes.
#include "ooxml/OoxmlPackageFile.h"
#include "package/zip/ZipArchive.h"

#include <benchmark/benchmark.h>
#include <minizip/zip.h>

#include <quillet/quillet.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* kRoot = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
const char* kRelsHead = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
const char* kTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// Pseudo-random words, so that the parts compress about as well as real text.
std::string words(size_t count, size_t seed)
{
    static const char* const vocabulary[] = {
        "report",   "quarter",  "revenue",  "growth",  "north",    "market",   "the",      "of",
        "and",      "forecast", "customer", "service", "delivery", "plan",     "south",    "east",
        "west",     "budget",   "figure",   "table",   "summary",  "analysis", "result",   "increase",
        "decrease", "profit",   "loss",     "margin",  "team",     "project",  "schedule", "risk",
        "quality",  "supplier", "contract", "price",   "volume",   "region",   "office",   "meeting",
        "review",   "action",   "owner",    "status",  "update",   "target",   "actual",   "variance",
        "cost",     "sales",    "order",    "invoice", "payment",  "balance",  "asset",    "annual",
        "monthly",  "weekly",   "draft",    "final",   "approved", "pending",  "closed",   "open"};
    std::string text;
    uint32_t x = uint32_t(seed);
    for (size_t i = 0; i < count; ++i) {
        x = (x * 1103515245u + 12345u) & 0x7FFFFFFFu;
        text += vocabulary[(x >> 16) % 64];
        text += ' ';
    }
    return text;
}

std::string paragraph(const std::string& text)
{
    return "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/><w:jc w:val=\"left\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr>"
           "<w:t xml:space=\"preserve\">" +
           text + "</w:t></w:r></w:p>";
}

struct Package {
    std::string path;
    std::vector<std::string> parts;  // the XML parts the export reads
    int64_t xmlBytes = 0;
};

void addEntry(zipFile zip, const std::string& name, const std::string& bytes)
{
    zip_fileinfo info{};
    zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6);
    zipWriteInFileInZip(zip, bytes.data(), unsigned(bytes.size()));
    zipCloseFileInZip(zip);
}

Package writePackage(const std::string& path, const std::string& body, const std::string& rels,
                     const std::vector<std::pair<std::string, std::string>>& others)
{
    Package package{path, {"word/document.xml"}, int64_t(body.size())};
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    addEntry(zip, "_rels/.rels",
             std::string(kRelsHead) + "<Relationship Id=\"rId1\" Type=\"" + kTypes +
                 "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    addEntry(zip, "word/document.xml", body);
    addEntry(zip, "word/_rels/document.xml.rels", std::string(kRelsHead) + rels + "</Relationships>");
    for (const auto& [name, bytes] : others) {
        addEntry(zip, name, bytes);
        package.parts.push_back(name);
        package.xmlBytes += int64_t(bytes.size());
    }
    zipClose(zip, nullptr);
    return package;
}

// Sections of 25 pages, each with its own header and footer; one comment a page.
Package pagesDocument(const std::string& folder, int pages)
{
    std::string body = kRoot,
                comments = "<w:comments xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">";
    std::string rels = std::string("<Relationship Id=\"c\" Type=\"") + kTypes + "comments\" Target=\"comments.xml\"/>";
    std::vector<std::pair<std::string, std::string>> others;
    for (int page = 0; page < pages; ++page) {
        for (int p = 0; p < 8; ++p)
            body += paragraph(words(60, size_t(page * 8 + p)));
        body += "<w:p><w:r><w:t>Comment anchor</w:t></w:r><w:r><w:commentReference w:id=\"" + std::to_string(page) +
                "\"/></w:r></w:p><w:tbl><w:tblPr/>";
        for (int row = 0; row < 4; ++row) {
            body += "<w:tr>";
            for (int cell = 0; cell < 3; ++cell)
                body += "<w:tc><w:tcPr/>" + paragraph(words(3, size_t(row * 3 + cell))) + "</w:tc>";
            body += "</w:tr>";
        }
        body += "</w:tbl>";
        comments += "<w:comment w:id=\"" + std::to_string(page) + "\" w:author=\"A\"><w:p><w:r><w:t>" +
                    words(12, size_t(page)) + "</w:t></w:r></w:p></w:comment>";
        if (page % 25 == 24) {
            const std::string n = std::to_string(page / 25);
            body += "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"h" + n +
                    "\"/><w:footerReference w:type=\"default\" r:id=\"f" + n + "\"/></w:sectPr></w:pPr></w:p>";
            rels += "<Relationship Id=\"h" + n + "\" Type=\"" + kTypes + "header\" Target=\"header" + n + ".xml\"/>";
            rels += "<Relationship Id=\"f" + n + "\" Type=\"" + kTypes + "footer\" Target=\"footer" + n + ".xml\"/>";
            others.emplace_back("word/header" + n + ".xml",
                                "<w:hdr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
                                    paragraph("Section " + n + " header") + "</w:hdr>");
            others.emplace_back("word/footer" + n + ".xml",
                                "<w:ftr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
                                    paragraph("Page footer") + "</w:ftr>");
        }
    }
    body += "</w:body></w:document>";
    others.emplace_back("word/comments.xml", comments + "</w:comments>");
    return writePackage(folder + "/pages.docx", body, rels, others);
}

Package largeBodyDocument(const std::string& folder)
{
    std::string body = kRoot;
    body.reserve(52000000);
    for (size_t p = 0; body.size() < 52000000 - 1000; ++p)
        body += paragraph(words(60, p));
    body += "</w:body></w:document>";
    return writePackage(folder + "/large.docx", body, "", {});
}

struct Documents {
    std::string folder;
    Package pages, large;
    Documents()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::filesystem::temp_directory_path().string();
        pages = pagesDocument(folder, 250);
        large = largeBodyDocument(folder);
    }
    ~Documents()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const Documents& documents()
{
    static const Documents built;
    return built;
}

const Package& pick(const benchmark::State& state)
{
    return state.range(0) == 0 ? documents().pages : documents().large;
}

void BM_ExportPackage(benchmark::State& state)
{
    const Package& package = pick(state);
    const std::string out = documents().folder + "/out";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        quillet::OoxmlPackageFile file(package.path);
        benchmark::DoNotOptimize(file.exportPackage(out, quillet::WriteText | quillet::WriteExtras));
    }
    state.counters["xml_bytes"] = double(package.xmlBytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * package.xmlBytes);
}
BENCHMARK(BM_ExportPackage)->Arg(0)->Arg(1)->ArgName("large")->Unit(benchmark::kMillisecond);

// The same parts inflated and thrown away, nothing more: in 64 KiB reads, and
// in the 8 KiB reads of the tag scanner.
void BM_InflateParts(benchmark::State& state)
{
    const Package& package = pick(state);
    std::vector<char> buffer(size_t(state.range(1)));
    for (auto _ : state) {
        quillet::ZipArchive archive(package.path);
        int64_t total = 0;
        for (const std::string& part : package.parts) {
            auto stream = archive.openEntry(part);
            for (int n; stream && (n = stream->read(buffer.data(), int(buffer.size()))) > 0;)
                total += n;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * package.xmlBytes);
}
BENCHMARK(BM_InflateParts)
    ->ArgsProduct({{0, 1}, {8192, 65536}})
    ->ArgNames({"large", "read"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
