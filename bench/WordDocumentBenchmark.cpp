// Throughput of the binary Word path: a compound file with a 2 MB
// "WordDocument" stream (one million UTF-16 characters in 64 pieces, with a
// field every few hundred characters), opened and exported; and a Word 95
// file of one million 8-bit Russian characters in 64 pieces.
#include "compound/CompoundFile.h"
#include "legacy/WordBinaryReader.h"
#include "legacy/WordText.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void put32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

std::string textUnits(size_t characters)
{
    std::string bytes;
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
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

// Streams of at least 4096 bytes each, in consecutive 512-byte sectors.
std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams)
{
    const size_t s = 512;
    std::vector<size_t> counts;
    size_t data = 1;  // the directory sector
    for (const auto& stream : streams) {
        counts.push_back((stream.second.size() + s - 1) / s);
        data += counts.back();
    }
    size_t fatSectors = 1;
    while (fatSectors * (s / 4) < fatSectors + data)
        ++fatSectors;
    std::string header(s, '\0');
    header.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    header[30] = 9;
    put32(header, 44, uint32_t(fatSectors));
    put32(header, 48, uint32_t(fatSectors));
    put32(header, 60, 0xFFFFFFFE);
    put32(header, 68, 0xFFFFFFFE);
    for (size_t i = 0; i < 109; ++i)
        put32(header, 76 + 4 * i, i < fatSectors ? uint32_t(i) : 0xFFFFFFFF);

    std::string fat(fatSectors * s, '\xFF');
    for (size_t i = 0; i < fatSectors; ++i)
        put32(fat, 4 * i, 0xFFFFFFFD);
    put32(fat, 4 * fatSectors, 0xFFFFFFFE);
    std::string directory(s, '\0');
    std::string body;
    size_t next = fatSectors + 1;
    for (size_t k = 0; k < streams.size() + 1; ++k) {
        const std::string name = k == 0 ? "Root Entry" : streams[k - 1].first;
        const size_t at = 128 * k;
        for (size_t c = 0; c < name.size(); ++c)
            directory[at + 2 * c] = name[c];
        directory[at + 64] = char((name.size() + 1) * 2);
        directory[at + 66] = k == 0 ? 5 : 2;
        put32(directory, at + 68, 0xFFFFFFFF);
        put32(directory, at + 72, k > 0 && k < streams.size() ? uint32_t(k + 1) : 0xFFFFFFFF);
        put32(directory, at + 76, k == 0 ? 1 : 0xFFFFFFFF);
        if (k == 0) {
            put32(directory, at + 116, 0xFFFFFFFE);
            continue;
        }
        const std::string& bytes = streams[k - 1].second;
        put32(directory, at + 116, uint32_t(next));
        put32(directory, at + 120, uint32_t(bytes.size()));
        for (size_t i = 0; i < counts[k - 1]; ++i, ++next)
            put32(fat, 4 * next, i + 1 < counts[k - 1] ? uint32_t(next + 1) : 0xFFFFFFFE);
        body += bytes;
        body.resize(body.size() + (s - bytes.size() % s) % s, '\0');
    }
    return header + fat + directory + body;
}

struct Document {
    std::string folder;
    std::string path;
    Document()
    {
        char pattern[] = "/tmp/quillet-bench-XXXXXX";
        folder = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        path = folder + "/bench.doc";
        const size_t pieces = 64;
        const size_t perPiece = 16384;
        std::string word(0x400, '\0');
        word[32] = 14;
        word[62] = 22;
        word[152] = 93;
        word[11] = 0x02;  // 1Table
        word += textUnits(pieces * perPiece);
        std::string table(16, '\0');
        table.push_back(2);
        std::string list(4 * (pieces + 1) + 8 * pieces, '\0');
        for (size_t i = 0; i <= pieces; ++i)
            put32(list, 4 * i, uint32_t(i * perPiece));
        for (size_t i = 0; i < pieces; ++i)
            put32(list, 4 * (pieces + 1) + 8 * i + 2, uint32_t(0x400 + 2 * i * perPiece));
        std::string size(4, '\0');
        put32(size, 0, uint32_t(list.size()));
        table += size + list;
        table.resize(std::max<size_t>(table.size(), 4096), '\0');
        put32(word, 418, 16);
        const std::string bytes = compoundFile({{"WordDocument", word}, {"1Table", table}});
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    ~Document()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const Document& document()
{
    static const Document built;
    return built;
}

// Windows-1251 letters and spaces, a paragraph mark every 80 characters.
struct Word6Document : Document {
    Word6Document()
    {
        path = folder + "/bench95.doc";
        const size_t pieces = 64;
        const size_t perPiece = 16384;
        std::string word(0x300, '\0');
        word[2] = 104;   // Word 95
        word[6] = 0x19;  // Russian
        word[7] = 0x04;
        word[10] = 0x04;  // complex
        for (size_t i = 0; i < pieces * perPiece; ++i)
            word.push_back(i % 80 == 79 ? '\r' : i % 7 == 6 ? ' ' : char(0xE0 + i % 32));
        std::string clx(1, '\2');
        std::string list(4 * (pieces + 1) + 8 * pieces, '\0');
        for (size_t i = 0; i <= pieces; ++i)
            put32(list, 4 * i, uint32_t(i * perPiece));
        for (size_t i = 0; i < pieces; ++i)
            put32(list, 4 * (pieces + 1) + 8 * i + 2, uint32_t(0x300 + i * perPiece));
        std::string size(4, '\0');
        put32(size, 0, uint32_t(list.size()));
        put32(word, 0x160, uint32_t(word.size()));
        word += clx + size + list;
        const std::string bytes = compoundFile({{"WordDocument", word}});
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
};

const Document& word6Document()
{
    static const Word6Document built;
    return built;
}

void BM_ExportWordDocument(benchmark::State& state)
{
    const Document& doc = document();
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        benchmark::DoNotOptimize(quillet::exportWordDocument(file, doc.folder, quillet::WriteText));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * 64 * 16384);
}
BENCHMARK(BM_ExportWordDocument)->Unit(benchmark::kMillisecond);

void BM_WordDocumentContent(benchmark::State& state)
{
    const Document& doc = document();
    int characters = 0;
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        QString text;
        benchmark::DoNotOptimize(quillet::extractWordDocumentText(file, text));
        characters = text.size();
    }
    state.counters["characters"] = characters;
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * 64 * 16384);
}
BENCHMARK(BM_WordDocumentContent)->Unit(benchmark::kMillisecond);

void BM_ExportWord6Document(benchmark::State& state)
{
    const Document& doc = word6Document();
    for (auto _ : state) {
        quillet::CompoundFile file(doc.path);
        if (quillet::exportWordDocument(file, doc.folder, quillet::WriteText) != quillet::Success)
            state.SkipWithError("not read as a Word 95 document");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 64 * 16384);
}
BENCHMARK(BM_ExportWord6Document)->Unit(benchmark::kMillisecond);

void BM_RemoveFieldCodes(benchmark::State& state)
{
    const std::string bytes = textUnits(1 << 20);
    const std::u16string text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    for (auto _ : state) {
        std::u16string copy = text;
        quillet::removeFieldCodes(copy);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_RemoveFieldCodes)->Unit(benchmark::kMillisecond);

}  // namespace
