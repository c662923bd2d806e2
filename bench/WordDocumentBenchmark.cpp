// Throughput of the binary Word path, counted in bytes of the "WordDocument"
// stream: by default a built document (one million UTF-16 characters in 64
// pieces, a field every few hundred characters); QUILLET_BENCH_DOC names a
// real .doc to measure instead (bench/peers/doc.sh generates a large one).
// A Word 95 case reads one million 8-bit Russian characters in 64 pieces.
#include "compound/CompoundFile.h"
#include "legacy/word/WordBinaryReader.h"
#include "legacy/word/WordText.h"

#include "support/TempDir.h"
#include "support/Word6DocumentBuilder.h"
#include "support/WordDocumentBuilder.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::u16string textUnits(size_t characters)
{
    std::u16string text;
    for (size_t i = 0; i < characters; ++i) {
        char16_t c = char16_t('a' + i % 26);
        if (i % 300 == 0)
            c = 0x13;
        else if (i % 300 == 5)
            c = 0x14;
        else if (i % 300 == 10)
            c = 0x15;
        else if (i % 80 == 79)
            c = 0x0D;
        text.push_back(c);
    }
    return text;
}

struct Document {
    quillet::test::TempDir dir;
    std::string path;
    std::string out;
    int64_t streamBytes = 0;

    Document() : out(dir.file("out"))
    {
        if (const char* given = std::getenv("QUILLET_BENCH_DOC")) {
            path = given;
        } else {
            quillet::test::WordPlan plan;
            const std::string piece = quillet::test::utf16leBytes(textUnits(16384));
            plan.pieces.assign(64, {piece, true});
            path = dir.file("bench.doc");
            quillet::test::writeFile(path, quillet::test::buildWordFile(plan));
        }
        quillet::CompoundFile file(path);
        if (auto stream = file.openStream("WordDocument"))
            streamBytes = stream->size();
    }
};

const Document& document()
{
    static const Document built;
    return built;
}

// The reader alone, without the re-encoding.
void BM_ExportWordDocument(benchmark::State& state)
{
    const Document& doc = document();
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        benchmark::DoNotOptimize(quillet::exportWordDocument(file, doc.dir.path(), quillet::WriteText));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.streamBytes);
}
BENCHMARK(BM_ExportWordDocument)->Unit(benchmark::kMillisecond);

// What a caller of the library waits for: detection, reading and re-encoding.
void BM_Export2Txt(benchmark::State& state)
{
    const Document& doc = document();
    for (auto _ : state)
        benchmark::DoNotOptimize(export2Txt(doc.path.c_str(), doc.out.c_str(), 0, quillet::WriteText, 0));
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.streamBytes);
}
BENCHMARK(BM_Export2Txt)->Unit(benchmark::kMillisecond);

void BM_FileContent(benchmark::State& state)
{
    const Document& doc = document();
    const QString path = QString::fromStdString(doc.path);
    int characters = 0;
    for (auto _ : state) {
        QString text;
        quilletGetFileContent(path, text);
        characters = text.size();
    }
    state.counters["characters"] = characters;
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.streamBytes);
}
BENCHMARK(BM_FileContent)->Unit(benchmark::kMillisecond);

// Windows-1251 letters and spaces, a paragraph mark every 80 characters.
struct Word6Document {
    quillet::test::TempDir dir;
    std::string path = dir.file("bench95.doc");

    Word6Document()
    {
        quillet::test::Word6Plan plan;
        plan.complex = true;
        plan.language = 0x0419;  // Russian
        std::string piece;
        for (size_t i = 0; i < 16384; ++i)
            piece.push_back(i % 80 == 79 ? '\r' : i % 7 == 6 ? ' ' : char(0xE0 + i % 32));
        plan.pieces.assign(64, piece);
        quillet::test::writeFile(path, quillet::test::buildWord6File(plan));
    }
};

void BM_ExportWord6Document(benchmark::State& state)
{
    static const Word6Document doc;
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        if (quillet::exportWordDocument(file, doc.dir.path(), quillet::WriteText) != quillet::Success)
            state.SkipWithError("not read as a Word 95 document");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 64 * 16384);
}
BENCHMARK(BM_ExportWord6Document)->Unit(benchmark::kMillisecond);

void BM_FieldCodeFilter(benchmark::State& state)
{
    const std::u16string text = textUnits(1 << 20);
    for (auto _ : state) {
        std::u16string kept;
        quillet::FieldCodeFilter filter;
        filter.feed(text.data(), text.size(), kept);
        filter.finish(kept);
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size() * 2));
}
BENCHMARK(BM_FieldCodeFilter)->Unit(benchmark::kMillisecond);

}  // namespace
