// `quillet batch`: walks the inputs, converts them in workers, records each
// document in DIR/results.jsonl and reports progress and a summary.
#pragma once

#include "BatchOptions.h"
#include "BatchSummary.h"
#include "Progress.h"
#include "ResultsLog.h"
#include "WorkerPool.h"

#include <memory>
#include <string>
#include <vector>

namespace quillet::cli {

class BatchRunner {
public:
    explicit BatchRunner(const BatchOptions& options);
    // The exit status: 0 when the batch ran, 1 when it had to stop, 128 plus
    // the signal when interrupted.
    int run();

private:
    struct Job {
        std::string path;    // absolute
        std::string folder;  // DIR/<name>
        int64_t size = -1;
        int64_t mtimeSeconds = 0;
        int64_t mtimeNanoseconds = 0;
    };
    // 0, or the exit status of a batch that cannot start.
    int plan(std::string& error);
    bool runWorkers();
    bool runInProcess();
    // Writes the record of a finished job; false when the log cannot take it.
    bool record(const WorkerEvent& event);
    void abandon(const std::vector<size_t>& inFlight);

    BatchOptions options_;
    WorkerSettings settings_;
    ResultsLog log_;
    BatchSummary summary_;
    std::unique_ptr<Progress> progress_;
    std::vector<Job> jobs_;
    size_t skipped_ = 0;
    std::string failure_;
};

// Entry of the command: the arguments after "batch".
int runBatch(int argc, char** argv);

}  // namespace quillet::cli
