// Worker processes that convert one document at a time, each watched by the
// parent: a crash or a conversion past the timeout costs only that document.
#pragma once

#include "DocumentResult.h"
#include "Worker.h"

#include <chrono>
#include <deque>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quillet::cli {

struct WorkerSettings {
    ConversionSettings conversion;
    unsigned timeoutSeconds = 60;
    unsigned maxDocsPerWorker = 1000;
    unsigned maxMemoryMb = 4096;  // 0: no limit
};

struct WorkerEvent {
    // Requeued: the job was waiting behind one that took its worker down, and
    // never ran; it is to be handed out again.
    enum Kind { Converted, Crashed, TimedOut, Requeued };
    Kind kind = Converted;
    size_t job = 0;
    pid_t worker = 0;
    double ms = 0;          // conversion time; for crash and timeout, until the end
    DocumentResult result;  // Converted; only the format otherwise
    std::string detail;     // how a crashed worker ended
};

class WorkerPool {
public:
    WorkerPool(unsigned size, const WorkerSettings& settings);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    bool hasIdleSlot() const;
    bool busy() const;
    // Hands job to the least loaded worker, starting one when needed; false
    // when no worker process can be started. A worker holds up to two jobs,
    // so it never waits for the parent between documents.
    bool submit(size_t job, const std::string& source, const std::string& folder);
    // Waits up to waitMs for finished, crashed or overdue conversions.
    std::vector<WorkerEvent> collect(int waitMs);
    // Kills every worker; returns the jobs that were in flight or queued.
    std::vector<size_t> stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Slot {
        pid_t pid = 0;
        int toWorker = -1;
        int fromWorker = -1;
        std::deque<size_t> jobs;  // the first is running
        unsigned submitted = 0;
        Clock::time_point started;  // of the first job
        std::string received;
    };
    static constexpr size_t kDepth = 2;
    bool accepts(const Slot& slot) const;
    // Takes what the worker wrote: finished jobs, or the end of the worker.
    void read(Slot& slot, std::vector<WorkerEvent>& events);
    void fail(Slot& slot, WorkerEvent::Kind kind, std::vector<WorkerEvent>& events);
    bool spawn(Slot& slot);
    // Ends the slot's worker (kill when asked) and returns how it ended.
    std::string retire(Slot& slot, bool kill);

    WorkerSettings settings_;
    std::vector<Slot> slots_;
};

}  // namespace quillet::cli
