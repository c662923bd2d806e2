#include "output/DocumentMetadata.h"

#include "platform/CivilDate.h"

#include <cstdio>

namespace quillet {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kFileTimeEpochOffset = 11644473600;
// 1601-01-01 and 10000-01-01 in seconds since 1970.
constexpr int64_t kFirstSecond = -kFileTimeEpochOffset;
constexpr int64_t kEndSecond = 253402300800;

}  // namespace

std::string isoUtcTime(int64_t unixSeconds)
{
    if (unixSeconds < kFirstSecond || unixSeconds >= kEndSecond)
        return {};
    int64_t days = unixSeconds / 86400;
    int64_t seconds = unixSeconds % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    int year = 0, month = 0, day = 0;
    platform::civilFromDays(days, year, month, day);
    // Each part is within its range here; the buffer holds any int all the same.
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day, int(seconds / 3600),
                  int(seconds / 60 % 60), int(seconds % 60));
    return text;
}

void DocumentMetadata::set(const std::string& name, std::string value, Kind kind)
{
    for (Entry& entry : entries_) {
        if (entry.name == name) {
            entry.value = std::move(value);
            entry.kind = kind;
            return;
        }
    }
    entries_.push_back({name, std::move(value), kind});
}

void DocumentMetadata::setText(const std::string& name, const std::string& utf8)
{
    if (!utf8.empty())
        set(name, utf8, Kind::Text);
}

void DocumentMetadata::setCount(const std::string& name, int64_t count)
{
    if (count >= 0)
        set(name, std::to_string(count), Kind::Count);
}

void DocumentMetadata::setFileTime(const std::string& name, uint64_t fileTime)
{
    if (fileTime == 0)
        return;
    const std::string text = isoUtcTime(static_cast<int64_t>(fileTime / 10000000) - kFileTimeEpochOffset);
    if (!text.empty())
        set(name, text, Kind::Text);
}

void DocumentMetadata::setFlag(const std::string& name, bool flag)
{
    set(name, flag ? "true" : "false", Kind::Flag);
}

bool unixSecondsOf(int year, int month, int day, int hour, int minute, int second, int64_t& out)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > kDays[month - 1] + (month == 2 && leap ? 1 : 0) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    const int64_t days = platform::daysFromCivil(year, month, day);
    out = days * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

const DocumentMetadata::Entry* DocumentMetadata::find(const std::string& name) const
{
    for (const Entry& entry : entries_) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

}  // namespace quillet
