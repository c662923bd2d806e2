// Progress of a batch on stderr: a bar redrawn in place on a terminal, plain
// periodic lines otherwise, nothing when quiet.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace quillet::cli {

class Progress {
public:
    enum class Mode { Bar, Lines, Quiet };
    // Bar when stream is a terminal, Lines otherwise, unless quiet.
    static Mode modeFor(FILE* stream, bool quiet);

    Progress(FILE* stream, Mode mode, size_t total);

    void documentDone(const std::string& status, int64_t bytes);
    // Redraws when it is time to (or always with force).
    void tick(bool force = false);
    // A message on a line of its own, clear of the bar.
    void note(const std::string& message);
    // The last state, ending the bar's line.
    void finish();

private:
    std::string line(bool forBar) const;

    using Clock = std::chrono::steady_clock;
    FILE* stream_;
    Mode mode_;
    size_t total_;
    size_t done_ = 0;
    uint64_t bytes_ = 0;
    std::map<std::string, size_t> byStatus_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDraw_ = start_;
};

}  // namespace quillet::cli
