// Throughput of the PDF path through export2Txt: a 250-page text document
// (40 lines a page) and a picture-heavy one (20 pages of four 300 x 200
// pictures, exported with the pictures). Counters: pages/s and the process's
// peak resident memory.
#include "support/PdfBuilder.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Scratch {
    std::string folder;
    Scratch()
        : folder(
              (std::filesystem::temp_directory_path() / ("quillet-pdf-bench-" + std::to_string(::getpid()))).string())
    {
        std::filesystem::create_directories(folder);
    }
    ~Scratch() { std::filesystem::remove_all(folder); }
};

const Scratch& scratch()
{
    static Scratch s;
    return s;
}

std::string textDocument()
{
    const std::string path = scratch().folder + "/text-250.pdf";
    if (!std::filesystem::exists(path)) {
        std::mt19937 random(7);
        const char* words[] = {"lorem", "ipsum", "dolor", "sit", "amet", "consectetur", "adipiscing", "elit"};
        quillet::test::PdfBuilder builder;
        for (int page = 0; page < 250; ++page) {
            std::vector<std::string> lines;
            for (int line = 0; line < 40; ++line) {
                std::string text;
                for (int word = 0; word < 12; ++word)
                    text += std::string(words[random() % 8]) + " ";
                lines.push_back(text);
            }
            builder.textPage(lines);
        }
        std::ofstream(path, std::ios::binary) << builder.build();
    }
    return path;
}

std::string pictureDocument()
{
    const std::string path = scratch().folder + "/pictures-20.pdf";
    if (!std::filesystem::exists(path)) {
        quillet::test::PdfBuilder builder;
        for (int page = 0; page < 20; ++page)
            builder.picturePage({{300, 200}, {300, 200}, {300, 200}, {300, 200}});
        std::ofstream(path, std::ios::binary) << builder.build();
    }
    return path;
}

void exportPages(benchmark::State& state, const std::string& source, int pages, uint32_t flags)
{
    quilletInitialize();
    const std::string out = scratch().folder + "/out";
    for (auto _ : state) {
        if (export2Txt(source.c_str(), out.c_str(), 0, flags, 300) != 0)
            state.SkipWithError("export failed");
    }
    quilletDestory();
    state.counters["pages/s"] =
        benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_PdfText250Pages(benchmark::State& state)
{
    exportPages(state, textDocument(), 250, quillet::WriteText);
}
BENCHMARK(BM_PdfText250Pages)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PdfPictures20Pages(benchmark::State& state)
{
    exportPages(state, pictureDocument(), 20, quillet::WriteText | quillet::WritePictures);
}
BENCHMARK(BM_PdfPictures20Pages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
