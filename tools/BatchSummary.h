// The table that ends a batch: documents by format and status.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace quillet::cli {

class BatchSummary {
public:
    void add(const std::string& format, const std::string& status, int64_t bytes);
    void print(FILE* out, double seconds, size_t skipped) const;

private:
    std::map<std::string, std::map<std::string, size_t>> counts_;  // format -> status -> documents
    std::map<std::string, size_t> statusTotals_;
    size_t documents_ = 0;
    uint64_t bytes_ = 0;
};

}  // namespace quillet::cli
