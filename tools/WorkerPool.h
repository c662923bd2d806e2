// Worker processes that convert one document at a time, each watched by the
// parent: a crash or a conversion past the timeout costs only that document.
#pragma once

#include "DocumentResult.h"
#include "Worker.h"

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quillet::cli {

struct WorkerSettings {
    ConversionSettings conversion;
    unsigned timeoutSeconds = 60;
    unsigned maxDocsPerWorker = 1000;
    unsigned maxMemoryMb = 4096;     // 0: no limit
};

struct WorkerEvent {
    enum Kind { Converted, Crashed, TimedOut };
    Kind kind = Converted;
    size_t job = 0;
    pid_t worker = 0;
    double ms = 0;
    DocumentResult result;           // Converted; only the format otherwise
    std::string detail;              // how a crashed worker ended
};

class WorkerPool {
public:
    WorkerPool(unsigned size, const WorkerSettings& settings);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    bool hasIdleSlot() const;
    bool busy() const;
    // Hands job to an idle worker, starting one when needed; false when no
    // worker process can be started.
    bool submit(size_t job, const std::string& source, const std::string& folder);
    // Waits up to waitMs for finished, crashed or overdue conversions.
    std::vector<WorkerEvent> collect(int waitMs);
    // Kills every worker; returns the jobs that were in flight.
    std::vector<size_t> stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Slot {
        pid_t pid = 0;
        int toWorker = -1;
        int fromWorker = -1;
        bool busy = false;
        size_t job = 0;
        unsigned done = 0;
        Clock::time_point started;
        std::string received;
    };
    bool spawn(Slot& slot);
    // Ends the slot's worker (kill when asked) and returns how it ended.
    std::string retire(Slot& slot, bool kill);

    WorkerSettings settings_;
    std::vector<Slot> slots_;
};

}  // namespace quillet::cli
