#include "pdf/PdfWatchdog.h"

#include <algorithm>
#include <chrono>

namespace quillet {
namespace {

// An injected clock may jump; a real one is met within a poll either way.
constexpr int64_t kPollMilliseconds = 20;

void raise(int* abortFlag)
{
    *static_cast<volatile int*>(abortFlag) = 1;
}

}  // namespace

PdfWatchdog::PdfWatchdog(Clock clock, int64_t deadline) : clock_(clock), deadline_(deadline) {}

PdfWatchdog::~PdfWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

// No wake-up per run: the thread polls, so guarding a page costs a lock.
void PdfWatchdog::watch(int* abortFlag)
{
    std::lock_guard<std::mutex> lock(mutex_);
    guarded_ = abortFlag;
    if (abortFlag == nullptr)
        return;
    if (fired_)
        raise(abortFlag);
    else if (!thread_.joinable())
        thread_ = std::thread(&PdfWatchdog::run, this);
}

void PdfWatchdog::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        int64_t wait = kPollMilliseconds;
        if (guarded_ != nullptr) {
            const int64_t left = deadline_ - clock_();
            if (left <= 0) {
                fired_ = true;
                raise(guarded_);
                return;
            }
            wait = std::min(left, wait);
        }
        wake_.wait_for(lock, std::chrono::milliseconds(wait));
    }
}

PdfWatchdog::Guard::Guard(PdfWatchdog* watchdog, int& abortFlag) : watchdog_(watchdog)
{
    if (watchdog_ != nullptr)
        watchdog_->watch(&abortFlag);
}

PdfWatchdog::Guard::~Guard()
{
    if (watchdog_ != nullptr)
        watchdog_->watch(nullptr);
}

}  // namespace quillet
