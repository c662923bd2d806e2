// The options of `quillet batch`.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace quillet::cli {

struct BatchOptions {
    std::string outDir;
    std::vector<std::string> inputs;  // files and folders as given
    std::vector<std::string> lists;   // --list files, "-" for stdin
    uint32_t flags = 0x10;
    unsigned jobs = 0;  // 0: one per core
    unsigned timeoutSeconds = 60;
    unsigned maxDocsPerWorker = 1000;
    unsigned maxMemoryMb = 4096;  // 0: no limit
    bool resume = false;
    // With resume: recorded documents with these statuses are converted again.
    std::set<std::string> retry;
    bool quiet = false;
    bool inProcess = false;  // no workers: for measurement and debugging
    bool clean = false;      // 1.txt as `quillet text` gives the text
    bool json = false;       // doc.json beside 1.txt, title/author/pages in the log
};

// Reads the arguments that follow "batch". On a usage error returns false
// and leaves the message in error.
bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error);

extern const char kBatchUsage[];

}  // namespace quillet::cli
