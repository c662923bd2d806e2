#include "BatchRunner.h"

#include "DocumentStatus.h"
#include "InputWalker.h"
#include "JsonLine.h"
#include "OutputFolders.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::cli {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal)
{
    stopSignal = signal;
}

void installSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a signal must cut the wait for workers short.
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    // A worker that dies while we write to it is handled as a crash instead.
    ::signal(SIGPIPE, SIG_IGN);
}

std::string isoTime(int64_t seconds, int64_t nanoseconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[64] = "";
    if (::gmtime_r(&t, &utc) == nullptr)
        return "";
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%09lldZ", static_cast<long long>(nanoseconds));
    return text;
}

std::string milliseconds(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ms);
    return text;
}

}  // namespace

BatchRunner::BatchRunner(const BatchOptions& options) : options_(options)
{
    settings_.conversion.flags = options.flags;
    settings_.conversion.clean = options.clean;
    settings_.conversion.json = options.json;
    // PDF conversions stop taking pages before the hard timeout, so a long
    // PDF keeps what it read instead of being killed.
    settings_.conversion.timeLimitSeconds = static_cast<int>(std::max(1u, options.timeoutSeconds * 4 / 5));
    settings_.timeoutSeconds = options.timeoutSeconds;
    settings_.maxDocsPerWorker = options.maxDocsPerWorker;
    settings_.maxMemoryMb = options.maxMemoryMb;
}

int BatchRunner::plan(std::string& error)
{
    const std::string out = OutputFolders::absolute(options_.outDir);
    if (!OutputFolders::makePath(out)) {
        error = "cannot create output folder " + out + ": " + std::strerror(errno);
        return 1;
    }
    InputWalker walker(out);
    for (const std::string& input : options_.inputs)
        walker.add(input);
    for (const std::string& list : options_.lists)
        if (!walker.addList(list, error))
            return 2;
    if (!log_.open(out + "/results.jsonl", options_.resume, walker.documents(), error))
        return 1;

    for (const std::string& path : walker.documents()) {
        Job job;
        job.path = path;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            job.size = static_cast<int64_t>(info.st_size);
            job.mtimeSeconds = static_cast<int64_t>(info.st_mtim.tv_sec);
            job.mtimeNanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
        }
        // A path that is still missing would only be recorded missing again.
        if (options_.resume &&
            log_.recorded(path, job.size >= 0 ? std::to_string(job.size) : "null",
                          job.size >= 0 ? isoTime(job.mtimeSeconds, job.mtimeNanoseconds) : "null", options_.retry)) {
            ++skipped_;
            continue;
        }
        job.folder = out + "/" + OutputFolders::nameFor(path);
        jobs_.push_back(std::move(job));
    }
    return 0;
}

bool BatchRunner::record(const WorkerEvent& event)
{
    Job& job = jobs_[event.job];
    const bool converted = event.kind == WorkerEvent::Converted;
    const DocumentResult& result = event.result;
    if (converted) {
        job.size = result.size;
        job.mtimeSeconds = result.mtimeSeconds;
        job.mtimeNanoseconds = result.mtimeNanoseconds;
    } else {
        // Half-written output of a crashed or killed conversion is worthless.
        OutputFolders::removeTree(job.folder);
        progress_->note(job.path + (event.kind == WorkerEvent::TimedOut ? ": timed out" : ": worker " + event.detail));
    }
    const std::string status = converted                             ? documentStatus(result, options_.flags)
                               : event.kind == WorkerEvent::TimedOut ? "timeout"
                                                                     : "crash";
    const std::string format = result.format;

    JsonLine line;
    line.string("path", job.path);
    if (job.size >= 0)
        line.number("size", job.size).string("mtime", isoTime(job.mtimeSeconds, job.mtimeNanoseconds));
    else
        line.null("size").null("mtime");
    format.empty() ? line.null("format") : line.string("format", format);
    converted ? line.number("code", static_cast<int64_t>(result.code)) : line.null("code");
    line.string("status", status);
    converted ? line.number("chars", static_cast<int64_t>(result.chars)) : line.null("chars");
    if (options_.json) {
        const std::string title(result.title, strnlen(result.title, sizeof result.title));
        const std::string author(result.author, strnlen(result.author, sizeof result.author));
        title.empty() || !converted ? line.null("title") : line.string("title", title);
        author.empty() || !converted ? line.null("author") : line.string("author", author);
        result.pages < 0 || !converted ? line.null("pages") : line.number("pages", result.pages);
    }
    line.number("ms", milliseconds(event.ms)).number("worker", static_cast<int64_t>(event.worker));
    line.string("out", job.folder.substr(job.folder.rfind('/') + 1));

    summary_.add(format.empty() ? "(none)" : format, status, job.size);
    progress_->documentDone(status, job.size);
    return log_.append(line.finish(), failure_);
}

void BatchRunner::abandon(const std::vector<size_t>& inFlight)
{
    for (size_t job : inFlight)
        OutputFolders::removeTree(jobs_[job].folder);
}

bool BatchRunner::runWorkers()
{
    WorkerPool pool(options_.jobs, settings_);
    size_t next = 0;
    std::deque<size_t> retry;  // jobs that never ran because their worker died
    while ((next < jobs_.size() || !retry.empty() || pool.busy()) && stopSignal == 0) {
        while ((next < jobs_.size() || !retry.empty()) && pool.hasIdleSlot()) {
            const size_t job = retry.empty() ? next : retry.front();
            if (!pool.submit(job, jobs_[job].path, jobs_[job].folder)) {
                failure_ = std::string("cannot start a worker process: ") + std::strerror(errno);
                abandon(pool.stop());
                return false;
            }
            retry.empty() ? static_cast<void>(++next) : retry.pop_front();
        }
        for (const WorkerEvent& event : pool.collect(100)) {
            if (event.kind == WorkerEvent::Requeued) {
                retry.push_back(event.job);
                continue;
            }
            // A signal to the whole process group may have killed workers too.
            if (stopSignal != 0) {
                abandon({event.job});
                continue;
            }
            if (!record(event)) {
                abandon(pool.stop());
                return false;
            }
        }
        progress_->tick();
    }
    abandon(pool.stop());
    return true;
}

bool BatchRunner::runInProcess()
{
    quilletInitialize();
    bool written = true;
    for (size_t i = 0; i < jobs_.size() && written && stopSignal == 0; ++i) {
        WorkerEvent event;
        event.job = i;
        event.worker = ::getpid();
        event.result = Worker::convert(jobs_[i].path, jobs_[i].folder, settings_.conversion);
        event.ms = event.result.microseconds / 1000.0;
        written = record(event);
        progress_->tick();
    }
    quilletDestory();
    return written;
}

int BatchRunner::run()
{
    installSignalHandlers();
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (const int status = plan(error); status != 0) {
        std::fprintf(stderr, "quillet: %s\n", error.c_str());
        return status;
    }
    progress_ = std::make_unique<Progress>(stderr, Progress::modeFor(stderr, options_.quiet), jobs_.size());
    const bool completed = options_.inProcess ? runInProcess() : runWorkers();
    progress_->finish();
    std::fflush(stderr);
    summary_.print(stdout, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), skipped_);
    std::fflush(stdout);
    if (!completed) {
        std::fprintf(stderr, "quillet: %s; stopped, the records written so far are complete\n", failure_.c_str());
        return 1;
    }
    if (stopSignal != 0) {
        std::fprintf(stderr, "quillet: interrupted; rerun with --resume to convert the rest\n");
        return 128 + stopSignal;
    }
    return 0;
}

int runBatch(int argc, char** argv)
{
    BatchOptions options;
    std::string error;
    if (!parseBatchOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quillet: %s\n", error.c_str());
        return 2;
    }
    return BatchRunner(options).run();
}

}  // namespace quillet::cli
