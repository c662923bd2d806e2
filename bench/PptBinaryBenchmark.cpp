// Throughput of the binary presentation path, counted in bytes of the
// "PowerPoint Document" stream: by default a built presentation of 2,000
// slides (a title placeholder, three text boxes and a comment each, with
// notes); QUILLET_BENCH_PPT names a real .ppt to measure instead
// (bench/peers/ppt.sh generates a large one).
#include "compound/CompoundFile.h"
#include "legacy/powerpoint/PptTextReader.h"

#include "support/PptBuilder.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <cstdlib>
#include <string>

namespace {

std::u16string words(size_t n, size_t seed)
{
    static const char16_t* const kWords[] = {u"revenue", u"cost",    u"北京", u"margin", u"forecast", u"région",
                                             u"total",   u"quarter", u"上海", u"growth", u"budget",   u"delta"};
    std::u16string text;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0)
            text += u' ';
        text += kWords[(seed * 5 + i) % 12];
    }
    return text;
}

struct Presentation {
    quillet::test::TempDir dir;
    std::string path;
    std::string out = dir.file("out");
    int64_t streamBytes = 0;

    Presentation()
    {
        using namespace quillet::test;
        if (const char* given = std::getenv("QUILLET_BENCH_PPT")) {
            path = given;
        } else {
            PptPlan plan;
            for (size_t s = 0; s < 2000; ++s) {
                plan.slides.push_back({{words(4, s)},
                                       {outlineRef(0), textChars(words(12, s + 1)), textChars(words(12, s + 2)),
                                        textBytes("plain ascii body text"), taggedComment(u"Ann", words(6, s))}});
                plan.notes.push_back({{}, {textChars(words(30, s))}});
            }
            path = dir.file("bench.ppt");
            writeFile(path, buildPptFile(buildPptStream(plan)));
        }
        quillet::CompoundFile file(path);
        if (auto stream = file.openStream("PowerPoint Document"))
            streamBytes = stream->size();
    }
};

const Presentation& presentation()
{
    static const Presentation built;
    return built;
}

// The reader alone, without the re-encoding; with the extras, notes and
// comments in storage order.
void BM_ExportPresentation(benchmark::State& state)
{
    const Presentation& doc = presentation();
    const uint32_t flags = state.range(0) != 0 ? quillet::WriteText | quillet::WriteExtras : quillet::WriteText;
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        if (quillet::exportPresentationDocument(file, doc.dir.path(), flags) != quillet::Success)
            state.SkipWithError("not read");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.streamBytes);
}
BENCHMARK(BM_ExportPresentation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What a caller of the library waits for: detection, reading and re-encoding.
void BM_Export2Txt(benchmark::State& state)
{
    const Presentation& doc = presentation();
    for (auto _ : state)
        benchmark::DoNotOptimize(export2Txt(doc.path.c_str(), doc.out.c_str(), 0, quillet::WriteText, 0));
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.streamBytes);
}
BENCHMARK(BM_Export2Txt)->Unit(benchmark::kMillisecond);

}  // namespace
