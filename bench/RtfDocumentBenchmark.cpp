// Throughput and peak memory of the RTF path on two generated files: 50 MB
// of text-heavy RTF (code page escapes, \u escapes, tables, skipped tables
// and fields) and 32 MB holding 1000 pictures (PNG hex with a WMF fallback).
#include "rtf/RtfDocument.h"
#include "rtf/RtfEntry.h"
#include "rtf/RtfParser.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset134 SimSun;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator bench;}\\viewkind4\\uc1\\pard\\f0\\fs20\r\n";

std::string textParagraph(size_t n)
{
    return "{\\b Heading " + std::to_string(n) +
           "}\\par Lorem ipsum dolor sit amet, caf\\'e9 na\\'efve \\u8364? costs; \\u20320?\\u22909? consectetur "
           "adipiscing\\tab elit, \\ldblquote sed do\\rdblquote  eiusmod {\\i tempor} incididunt ut labore\r\n"
           "et dolore magna aliqua.{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\"}{\\fldrslt link}}\\par\r\n"
           "\\trowd\\cellx2000\\cellx4000\\pard\\intbl alpha\\cell beta\\cell\\row\\pard\r\n";
}

std::string pictureParagraph(size_t n)
{
    static const std::string hex = [] {
        std::string out;
        static const char digits[] = "0123456789abcdef";
        for (size_t i = 0; i < 16384; ++i) {
            const unsigned byte = unsigned(i * 31 + 7) & 0xFF;
            out += digits[byte >> 4];
            out += digits[byte & 15];
            if (i % 64 == 63)
                out += "\r\n";
        }
        return out;
    }();
    return "Picture " + std::to_string(n) + ":{\\*\\shppict{\\pict\\picw64\\pich64\\pngblip\r\n" + hex +
           "}}{\\nonshppict{\\pict\\wmetafile8\\picw64\\pich64 0100090000}}\\par\r\n";
}

struct Generated {
    std::string folder, text, pictures;
    size_t textBytes = 0, pictureBytes = 0;
    Generated()
    {
        char pattern[] = "/tmp/quillet-rtf-bench-XXXXXX";
        folder = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        text = folder + "/text.rtf";
        pictures = folder + "/pictures.rtf";
        textBytes = write(text, 50u << 20, textParagraph);
        pictureBytes = write(pictures, 0, pictureParagraph, 1000);
        std::filesystem::create_directory(folder + "/out");
    }
    ~Generated()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    template <typename Paragraph>
    static size_t write(const std::string& path, size_t bytes, Paragraph paragraph, size_t count = SIZE_MAX)
    {
        std::ofstream out(path, std::ios::binary);
        size_t written = sizeof kHeader - 1;
        out << kHeader;
        for (size_t n = 0; n < count && (bytes == 0 || written < bytes); ++n) {
            const std::string one = paragraph(n);
            out << one;
            written += one.size();
        }
        out << "}\r\n";
        return written + 3;
    }
};

const Generated& generated()
{
    static const Generated files;
    return files;
}

// Peak resident memory since the last reset, in MB.
double peakResidentMb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double residentMb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void runExport(benchmark::State& state, const std::string& path, size_t bytes, uint32_t flags)
{
    const std::string out = generated().folder + "/out";
    double extra = 0.0;
    for (auto _ : state) {
        const double base = residentMb();
        resetPeak();
        benchmark::DoNotOptimize(export2Txt(path.c_str(), out.c_str(), 0, flags, 0));
        extra = std::max(extra, peakResidentMb() - base);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["fileMB"] = double(bytes) / (1 << 20);
    state.counters["peakExtraMB"] = extra;
    state.counters["peakPerFileByte"] = extra / (double(bytes) / (1 << 20));
}

void BM_RtfExportText(benchmark::State& state)
{
    runExport(state, generated().text, generated().textBytes, quillet::WriteText);
}
BENCHMARK(BM_RtfExportText)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RtfExportPictures(benchmark::State& state)
{
    runExport(state, generated().pictures, generated().pictureBytes, quillet::WriteText | quillet::WritePictures);
}
BENCHMARK(BM_RtfExportPictures)->Unit(benchmark::kMillisecond)->Iterations(3);

// The tokenizer alone, on the text file already in memory.
void BM_RtfParseText(benchmark::State& state)
{
    size_t units = 0;
    for (auto _ : state) {
        quillet::RtfDocument document(generated().text);
        quillet::RtfParser parser;
        parser.parse(document);
        units = document.gatheredText().size();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(generated().textBytes));
    state.counters["textUnits"] = double(units);
}
BENCHMARK(BM_RtfParseText)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
