#include "Progress.h"

#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quillet::cli {

namespace {

constexpr auto kBarPeriod = std::chrono::milliseconds(200);
constexpr auto kLinePeriod = std::chrono::seconds(5);

std::string formatDuration(double seconds)
{
    const long total = static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

Progress::Mode Progress::modeFor(FILE* stream, bool quiet)
{
    if (quiet)
        return Mode::Quiet;
    return ::isatty(::fileno(stream)) ? Mode::Bar : Mode::Lines;
}

Progress::Progress(FILE* stream, Mode mode, size_t total) : stream_(stream), mode_(mode), total_(total) {}

void Progress::documentDone(const std::string& status, int64_t bytes)
{
    ++done_;
    if (bytes > 0)
        bytes_ += static_cast<uint64_t>(bytes);
    ++byStatus_[status];
}

std::string Progress::line(bool forBar) const
{
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    const double rate = elapsed > 0 ? done_ / elapsed : 0;
    const double megabytes = elapsed > 0 ? bytes_ / elapsed / 1e6 : 0;
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%zu/%zu  %.1f doc/s  %.1f MB/s  ETA %s", done_, total_, rate, megabytes,
                  rate > 0 ? formatDuration((total_ - done_) / rate).c_str() : "?");
    std::string text;
    if (forBar) {
        constexpr int kWidth = 20;
        const int filled = total_ > 0 ? static_cast<int>(kWidth * done_ / total_) : kWidth;
        text = "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] ";
    } else {
        text = "quillet: ";
    }
    text += numbers;
    for (const auto& [status, count] : byStatus_)
        text += (forBar ? "  " : ", ") + status + " " + std::to_string(count);
    return text;
}

void Progress::tick(bool force)
{
    if (mode_ == Mode::Quiet)
        return;
    const auto now = Clock::now();
    if (!force && now - lastDraw_ < (mode_ == Mode::Bar ? Clock::duration(kBarPeriod) : Clock::duration(kLinePeriod)))
        return;
    lastDraw_ = now;
    if (mode_ == Mode::Lines) {
        std::fprintf(stream_, "%s\n", line(false).c_str());
    } else {
        std::string text = line(true);
        winsize size{};
        const size_t columns = ::ioctl(::fileno(stream_), TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
        // A line longer than the terminal would wrap and break the redraw.
        if (text.size() >= columns)
            text.resize(columns - 1);
        std::fprintf(stream_, "\r%s\033[K", text.c_str());
    }
    std::fflush(stream_);
}

void Progress::note(const std::string& message)
{
    if (mode_ == Mode::Quiet)
        return;
    std::fprintf(stream_, "%squillet: %s\n", mode_ == Mode::Bar ? "\r\033[K" : "", message.c_str());
    std::fflush(stream_);
}

void Progress::finish()
{
    if (mode_ == Mode::Quiet)
        return;
    tick(true);
    if (mode_ == Mode::Bar)
        std::fputc('\n', stream_);
    std::fflush(stream_);
}

}  // namespace quillet::cli
