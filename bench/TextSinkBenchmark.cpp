// Every reader pours its text through the sink, and every export of a binary
// document ends with the UTF-8 re-encoding: both must keep up with the readers.
#include "output/TextFileReencoding.h"
#include "output/TextSink.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::u16string mixedText(size_t units)
{
    const std::u16string line = u"The quick brown fox \u4E2D\u6587\u3002 caf\u00E9 \u201Cquoted\u201D\r";
    std::u16string text;
    text.reserve(units + line.size());
    while (text.size() < units)
        text += line;
    return text;
}

std::string scratchFolder()
{
    char pattern[] = "/tmp/quillet-bench-XXXXXX";
    return ::mkdtemp(pattern) != nullptr ? pattern : "";
}

void BM_SinkAppendWide(benchmark::State& state)
{
    const std::u16string chunk = mixedText(64 * 1024);
    const std::string folder = scratchFolder();
    for (auto _ : state) {
        quillet::TextSink sink(folder);
        for (int i = 0; i < 64; ++i)
            sink.appendWide(chunk);
        sink.close();
        benchmark::DoNotOptimize(sink.text().size());
    }
    state.SetBytesProcessed(state.iterations() * 64 * int64_t(chunk.size()) * 2);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SinkAppendWide)->Unit(benchmark::kMillisecond);

void BM_ReencodeToUtf8(benchmark::State& state)
{
    const std::u16string chunk = mixedText(64 * 1024);
    const std::string folder = scratchFolder();
    for (auto _ : state) {
        state.PauseTiming();
        {
            quillet::TextSink sink(folder);
            for (int i = 0; i < 64; ++i)
                sink.appendWide(chunk);
        }
        state.ResumeTiming();
        quillet::reencodeTextFileToUtf8(folder);
    }
    state.SetBytesProcessed(state.iterations() * 64 * int64_t(chunk.size()) * 2);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReencodeToUtf8)->Unit(benchmark::kMillisecond);

}  // namespace
