#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quillet {

// Stops page runs that outlive a call's deadline. MuPDF interrupts a content
// stream only when another thread sets the abort flag of its run, so one
// thread per call watches the clock while a run is guarded; it starts with
// the first guarded run and reads the clock only while one is.
class PdfWatchdog {
public:
    using Clock = int64_t (*)();

    // The deadline is a reading of clock, which counts milliseconds.
    PdfWatchdog(Clock clock, int64_t deadline);
    ~PdfWatchdog();
    PdfWatchdog(const PdfWatchdog&) = delete;
    PdfWatchdog& operator=(const PdfWatchdog&) = delete;

    // One run's abort flag, set to 1 once the deadline passes while the run
    // is guarded (at once when it has passed already).
    class Guard {
    public:
        Guard(PdfWatchdog* watchdog, int& abortFlag);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        PdfWatchdog* watchdog_;
    };

private:
    void watch(int* abortFlag);
    void run();

    Clock clock_;
    int64_t deadline_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int* guarded_ = nullptr;
    bool fired_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quillet
