// Throughput of the binary workbook path on a generated "Workbook" stream of
// 100,000 cells over four sheets (shared-string text, numbers, dates), read
// from memory so that the records, cells and sink are measured alone.
#include "compound/CompoundStream.h"
#include "compound/Sectors.h"
#include "legacy/excel/BiffReader.h"
#include "legacy/excel/ExcelBinaryReader.h"
#include "numberformat/CellFormats.h"

#include <benchmark/benchmark.h>

#include <quillet/quillet.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCells = 100000;

std::string le(uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
    return out;
}

std::string record(uint16_t type, const std::string& body)
{
    return le(type, 2) + le(body.size(), 2) + body;
}

std::string workbookStream()
{
    const int unique = kCells / 10, columns = 8, sheets = 4;
    std::string sst = le(kCells / 2, 4) + le(unique, 4), out;
    bool first = true;
    for (int i = 0; i < unique; ++i) {
        const std::string text = "text " + std::to_string(i);
        const std::string bytes = le(text.size(), 2) + '\0' + text;
        if (sst.size() + bytes.size() > 8224) {
            out += record(first ? 0x00FC : 0x003C, sst);
            sst.clear();
            first = false;
        }
        sst += bytes;
    }
    out += record(first ? 0x00FC : 0x003C, sst);
    for (int sheet = 0, cell = 0; sheet < sheets; ++sheet) {
        out += record(0x0809, le(0x0600, 2) + le(0x10, 2) + std::string(12, '\0'));
        for (int i = 0; i < kCells / sheets; ++i, ++cell) {
            const std::string head = le(i / columns, 2) + le(i % columns, 2) + le(15, 2);
            const double value = cell * 1.25 + 0.1;
            switch (i % 4) {
            case 1: {
                uint64_t bits;
                std::memcpy(&bits, &value, sizeof bits);
                out += record(0x0203, head + le(bits, 8));
                break;
            }
            case 3:
                out += record(0x027E, head + le((uint32_t(40000 + cell % 9000) << 2) | 2, 4));
                break;
            default:
                out += record(0x00FD, head + le(uint32_t(cell * 7919) % unique, 4));
            }
        }
        out += record(0x000A, "");
    }
    return out;
}

class MemorySectors : public quillet::Sectors {
public:
    explicit MemorySectors(const std::string& bytes) : bytes_(bytes) {}
    size_t readSector(uint8_t* buffer, int32_t index) override
    {
        const size_t at = size_t(index) * kSize;
        const size_t n = at < bytes_.size() ? std::min(kSize, bytes_.size() - at) : 0;
        std::memcpy(buffer, bytes_.data() + at, n);
        std::memset(buffer + n, 0, kSize - n);
        return n;
    }
    size_t sectorSize() const override { return kSize; }

private:
    static constexpr size_t kSize = 512;
    const std::string& bytes_;
};

struct Workbook {
    std::string bytes = workbookStream();
    std::string folder;
    std::vector<int32_t> chain;
    Workbook() : chain((bytes.size() + 511) / 512)
    {
        std::iota(chain.begin(), chain.end(), 0);
        char pattern[] = "/tmp/quillet-bench-XXXXXX";
        folder = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    }
    ~Workbook()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const Workbook& workbook()
{
    static const Workbook built;
    return built;
}

void BM_ExportWorkbook(benchmark::State& state)
{
    const Workbook& book = workbook();
    MemorySectors sectors(book.bytes);
    for (auto _ : state) {
        quillet::CompoundStream stream(sectors, int64_t(book.bytes.size()), book.chain);
        quillet::ExcelBinaryReader reader;
        benchmark::DoNotOptimize(reader.exportWorkbook(stream, book.folder, quillet::WriteText));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(book.bytes.size()));
    state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * kCells, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportWorkbook)->Unit(benchmark::kMillisecond);

void BM_WalkRecords(benchmark::State& state)
{
    const Workbook& book = workbook();
    MemorySectors sectors(book.bytes);
    for (auto _ : state) {
        quillet::CompoundStream stream(sectors, int64_t(book.bytes.size()), book.chain);
        quillet::BiffReader reader(stream);
        int records = 0;
        while (reader.nextRecord()) {
            reader.beginRecord();
            ++records;
        }
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(book.bytes.size()));
}
BENCHMARK(BM_WalkRecords)->Unit(benchmark::kMillisecond);

void BM_FormatCellNumber(benchmark::State& state)
{
    std::vector<double> values(4096);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = i % 2 ? double(i) * 1.25 + 0.1 : double(i * 1000);
    // General, a grouped two-decimal format and a date, as most cells show.
    quillet::CellFormats formats;
    for (unsigned id : {0u, 4u, 14u})
        formats.addStyle(id);
    std::string out;
    for (auto _ : state) {
        size_t style = 0;
        for (double value : values) {
            out.clear();
            formats.format(style++ % 3, value, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(values.size()));
}
BENCHMARK(BM_FormatCellNumber);

}  // namespace
