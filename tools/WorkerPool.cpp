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

WorkerPool::WorkerPool(unsigned size, const WorkerSettings& settings)
    : settings_(settings), slots_(size > 0 ? size : 1)
{
}

WorkerPool::~WorkerPool()
{
    for (Slot& slot : slots_)
        if (slot.pid > 0)
            retire(slot, slot.busy);
}

bool WorkerPool::hasIdleSlot() const
{
    for (const Slot& slot : slots_)
        if (!slot.busy)
            return true;
    return false;
}

bool WorkerPool::busy() const
{
    for (const Slot& slot : slots_)
        if (slot.busy)
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
    for (Slot& slot : slots_) {
        if (slot.busy)
            continue;
        // A worker that died while idle shows up as a failed write: one fresh try.
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (slot.pid == 0 && !spawn(slot))
                return false;
            if (Worker::writeRequest(slot.toWorker, source, folder)) {
                slot.busy = true;
                slot.job = job;
                slot.started = Clock::now();
                return true;
            }
            retire(slot, true);
        }
        return false;
    }
    return false;
}

std::vector<WorkerEvent> WorkerPool::collect(int waitMs)
{
    std::vector<pollfd> fds;
    std::vector<Slot*> owners;
    for (Slot& slot : slots_) {
        if (slot.busy) {
            fds.push_back(pollfd{slot.fromWorker, POLLIN, 0});
            owners.push_back(&slot);
        }
    }
    // Never sleep past the first deadline.
    const auto now = Clock::now();
    const auto timeout = std::chrono::seconds(settings_.timeoutSeconds);
    for (const Slot* slot : owners) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(slot->started + timeout - now).count();
        waitMs = static_cast<int>(std::max<long long>(0, std::min<long long>(waitMs, left + 1)));
    }
    if (::poll(fds.data(), fds.size(), waitMs) < 0 && errno != EINTR)
        return {};

    std::vector<WorkerEvent> events;
    for (size_t i = 0; i < fds.size(); ++i) {
        Slot& slot = *owners[i];
        WorkerEvent event;
        event.job = slot.job;
        event.worker = slot.pid;
        // The reply: the format name as soon as it is known, then the result.
        constexpr size_t kReplyBytes = Worker::kFormatBytes + sizeof(DocumentResult);
        if (slot.received.size() >= Worker::kFormatBytes)
            std::memcpy(event.result.format, slot.received.data(), Worker::kFormatBytes);
        event.result.format[Worker::kFormatBytes - 1] = '\0';
        if (fds[i].revents != 0) {
            char buffer[kReplyBytes];
            const size_t want = kReplyBytes - slot.received.size();
            const ssize_t n = ::read(slot.fromWorker, buffer, want);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            event.ms = std::chrono::duration<double, std::milli>(Clock::now() - slot.started).count();
            if (n <= 0) {
                event.kind = WorkerEvent::Crashed;
                event.detail = retire(slot, true);
                events.push_back(event);
                continue;
            }
            slot.received.append(buffer, static_cast<size_t>(n));
            if (slot.received.size() < kReplyBytes)
                continue;
            std::memcpy(&event.result, slot.received.data() + Worker::kFormatBytes, sizeof(DocumentResult));
            slot.received.clear();
            slot.busy = false;
            events.push_back(event);
            // Recycled before leaks or fragmentation can build up.
            if (++slot.done >= settings_.maxDocsPerWorker)
                retire(slot, false);
            continue;
        }
        if (Clock::now() - slot.started >= timeout) {
            event.kind = WorkerEvent::TimedOut;
            event.ms = std::chrono::duration<double, std::milli>(Clock::now() - slot.started).count();
            retire(slot, true);
            events.push_back(event);
        }
    }
    return events;
}

std::vector<size_t> WorkerPool::stop()
{
    std::vector<size_t> inFlight;
    for (Slot& slot : slots_) {
        if (slot.busy)
            inFlight.push_back(slot.job);
        if (slot.pid > 0)
            retire(slot, true);
    }
    return inFlight;
}

}  // namespace quillet::cli
