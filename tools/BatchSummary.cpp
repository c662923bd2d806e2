#include "BatchSummary.h"

#include <algorithm>
#include <vector>

namespace quillet::cli {

void BatchSummary::add(const std::string& format, const std::string& status, int64_t bytes)
{
    ++counts_[format][status];
    ++statusTotals_[status];
    ++documents_;
    if (bytes > 0)
        bytes_ += static_cast<uint64_t>(bytes);
}

void BatchSummary::print(FILE* out, double seconds, size_t skipped) const
{
    // Statuses in the order a reader looks for them; only those that occurred.
    static const char* const kOrder[] = {
        "ok", "empty", "shared-strings-only", "encrypted", "unsupported", "damaged", "error", "crash", "timeout"};
    std::vector<std::string> columns;
    for (const char* status : kOrder)
        if (statusTotals_.count(status) != 0)
            columns.emplace_back(status);

    const auto row = [&](const std::string& label, const std::map<std::string, size_t>& cells, size_t total) {
        std::fprintf(out, "%-12s %7zu", label.c_str(), total);
        for (const std::string& status : columns) {
            const auto it = cells.find(status);
            const size_t width = std::max<size_t>(status.size(), 5);
            std::fprintf(out, "  %*zu", static_cast<int>(width), it != cells.end() ? it->second : 0);
        }
        std::fputc('\n', out);
    };
    if (documents_ > 0) {
        std::fprintf(out, "%-12s %7s", "format", "docs");
        for (const std::string& status : columns)
            std::fprintf(out, "  %*s", static_cast<int>(std::max<size_t>(status.size(), 5)), status.c_str());
        std::fputc('\n', out);
        for (const auto& [format, cells] : counts_) {
            size_t total = 0;
            for (const auto& cell : cells)
                total += cell.second;
            row(format, cells, total);
        }
        row("total", statusTotals_, documents_);
    }
    std::fprintf(out, "%zu documents in %.1f s (%.1f documents/s, %.1f MB/s)", documents_, seconds,
                 seconds > 0 ? documents_ / seconds : 0.0, seconds > 0 ? bytes_ / seconds / 1e6 : 0.0);
    if (skipped > 0)
        std::fprintf(out, "; %zu skipped as already recorded", skipped);
    std::fputc('\n', out);
}

}  // namespace quillet::cli
