#include "WorkerPool.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_ASAN 1
#endif
#endif

namespace quillet::cli {

namespace {

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// In the new worker: keep only its two pipe ends (moved to 3 and 4).
void keepOnly(int input, int output)
{
    const int in = ::fcntl(input, F_DUPFD, 64);
    const int out = ::fcntl(output, F_DUPFD, 64);
    if (in < 0 || out < 0 || ::dup2(in, 3) < 0 || ::dup2(out, 4) < 0)
        ::_exit(127);
    ::close_range(5, ~0u, 0);
}

void limitMemory(unsigned megabytes)
{
#ifndef QUILLET_ASAN
    // The sanitizer's shadow memory alone is larger than any sane limit.
    if (megabytes == 0)
        return;
    const rlim_t bytes = static_cast<rlim_t>(megabytes) * 1024 * 1024;
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
#else
    (void)megabytes;
#endif
}

std::string describe(int status)
{
    if (WIFSIGNALED(status))
        return std::string("killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    if (WIFEXITED(status))
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    return "ended";
}

}  // namespace

WorkerPool::WorkerPool(unsigned size, const WorkerSettings& settings) : settings_(settings), slots_(size > 0 ? size : 1)
{
}

WorkerPool::~WorkerPool()
{
    for (Slot& slot : slots_)
        if (slot.pid > 0)
            retire(slot, !slot.jobs.empty());
}

bool WorkerPool::accepts(const Slot& slot) const
{
    // A worker due for recycling takes nothing more.
    return slot.jobs.size() < kDepth && (slot.pid == 0 || slot.submitted < settings_.maxDocsPerWorker);
}

bool WorkerPool::hasIdleSlot() const
{
    for (const Slot& slot : slots_)
        if (accepts(slot))
            return true;
    return false;
}

bool WorkerPool::busy() const
{
    for (const Slot& slot : slots_)
        if (!slot.jobs.empty())
            return true;
    return false;
}

bool WorkerPool::spawn(Slot& slot)
{
    int request[2];
    int reply[2];
    if (::pipe2(request, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(reply, O_CLOEXEC) != 0) {
        ::close(request[0]);
        ::close(request[1]);
        return false;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Ctrl-C and hang-ups are the parent's to handle; the worker dies with it.
        ::signal(SIGINT, SIG_IGN);
        ::signal(SIGHUP, SIG_IGN);
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGPIPE, SIG_DFL);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(0);
        keepOnly(request[0], reply[1]);
        // Standard output belongs to the parent's summary; stdin may be its list.
        const int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDOUT_FILENO);
            if (devNull > STDERR_FILENO)
                ::close(devNull);
        }
        limitMemory(settings_.maxMemoryMb);
        Worker::serve(3, 4, settings_.conversion);
    }
    ::close(request[0]);
    ::close(reply[1]);
    if (pid < 0) {
        ::close(request[1]);
        ::close(reply[0]);
        return false;
    }
    slot = Slot{};
    slot.pid = pid;
    slot.toWorker = request[1];
    slot.fromWorker = reply[0];
    return true;
}

std::string WorkerPool::retire(Slot& slot, bool kill)
{
    closeFd(slot.toWorker);
    closeFd(slot.fromWorker);
    if (kill)
        ::kill(slot.pid, SIGKILL);
    int status = 0;
    while (::waitpid(slot.pid, &status, 0) < 0 && errno == EINTR) {
    }
    slot = Slot{};
    return describe(status);
}

bool WorkerPool::submit(size_t job, const std::string& source, const std::string& folder)
{
    Slot* chosen = nullptr;
    for (Slot& slot : slots_)
        if (accepts(slot) && (chosen == nullptr || slot.jobs.size() < chosen->jobs.size()))
            chosen = &slot;
    if (chosen == nullptr)
        return false;
    Slot& slot = *chosen;
    // A worker that died while idle shows up as a failed write: one fresh try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (slot.pid == 0 && !spawn(slot))
            return false;
        if (Worker::writeRequest(slot.toWorker, source, folder)) {
            if (slot.jobs.empty())
                slot.started = Clock::now();
            slot.jobs.push_back(job);
            ++slot.submitted;
            return true;
        }
        if (!slot.jobs.empty()) {
            // The worker died under its running job; that end requeues this one.
            slot.jobs.push_back(job);
            return true;
        }
        retire(slot, true);
    }
    return false;
}

void WorkerPool::fail(Slot& slot, WorkerEvent::Kind kind, std::vector<WorkerEvent>& events)
{
    WorkerEvent event;
    event.kind = kind;
    event.job = slot.jobs.front();
    event.worker = slot.pid;
    event.ms = std::chrono::duration<double, std::milli>(Clock::now() - slot.started).count();
    if (slot.received.size() >= Worker::kFormatBytes)
        std::memcpy(event.result.format, slot.received.data(), Worker::kFormatBytes);
    event.result.format[Worker::kFormatBytes - 1] = '\0';
    const std::deque<size_t> waiting(slot.jobs.begin() + 1, slot.jobs.end());
    event.detail = retire(slot, true);
    events.push_back(event);
    for (size_t job : waiting) {
        WorkerEvent requeued;
        requeued.kind = WorkerEvent::Requeued;
        requeued.job = job;
        events.push_back(requeued);
    }
}

void WorkerPool::read(Slot& slot, std::vector<WorkerEvent>& events)
{
    // The reply of a job: its format name as soon as it is known, then the result.
    constexpr size_t kReplyBytes = Worker::kFormatBytes + sizeof(DocumentResult);
    char buffer[kReplyBytes * kDepth];
    const ssize_t n = ::read(slot.fromWorker, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        fail(slot, WorkerEvent::Crashed, events);
        return;
    }
    slot.received.append(buffer, static_cast<size_t>(n));
    while (slot.received.size() >= kReplyBytes && !slot.jobs.empty()) {
        WorkerEvent event;
        event.job = slot.jobs.front();
        event.worker = slot.pid;
        std::memcpy(&event.result, slot.received.data() + Worker::kFormatBytes, sizeof(DocumentResult));
        // Replies read together would share one arrival time: the worker's own clock is exact.
        event.ms = event.result.microseconds / 1000.0;
        event.result.format[Worker::kFormatBytes - 1] = '\0';
        slot.received.erase(0, kReplyBytes);
        slot.jobs.pop_front();
        slot.started = Clock::now();
        events.push_back(event);
    }
    // Recycled before leaks or fragmentation can build up.
    if (slot.jobs.empty() && slot.submitted >= settings_.maxDocsPerWorker)
        retire(slot, false);
}

std::vector<WorkerEvent> WorkerPool::collect(int waitMs)
{
    std::vector<pollfd> fds;
    std::vector<Slot*> owners;
    const auto now = Clock::now();
    const auto timeout = std::chrono::seconds(settings_.timeoutSeconds);
    for (Slot& slot : slots_) {
        if (slot.jobs.empty())
            continue;
        fds.push_back(pollfd{slot.fromWorker, POLLIN, 0});
        owners.push_back(&slot);
        // Never sleep past the first deadline.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(slot.started + timeout - now).count();
        waitMs = static_cast<int>(std::max<long long>(0, std::min<long long>(waitMs, left + 1)));
    }
    if (::poll(fds.data(), fds.size(), waitMs) < 0 && errno != EINTR)
        return {};

    std::vector<WorkerEvent> events;
    for (size_t i = 0; i < fds.size(); ++i) {
        Slot& slot = *owners[i];
        if (fds[i].revents != 0)
            read(slot, events);
        if (!slot.jobs.empty() && Clock::now() - slot.started >= timeout)
            fail(slot, WorkerEvent::TimedOut, events);
    }
    return events;
}

std::vector<size_t> WorkerPool::stop()
{
    std::vector<size_t> inFlight;
    for (Slot& slot : slots_) {
        inFlight.insert(inFlight.end(), slot.jobs.begin(), slot.jobs.end());
        if (slot.pid > 0)
            retire(slot, true);
    }
    return inFlight;
}

}  // namespace quillet::cli
