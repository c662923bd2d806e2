#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// A document's properties in one vocabulary for every format: title, subject,
// author, keywords, comments, last_author, application, company, manager,
// category (text); created, modified, last_printed (ISO 8601 UTC); pages,
// words, characters, slides (counts). A property the document does not keep
// is absent, never empty.
class DocumentMetadata {
public:
    enum class Kind { Text, Count, Flag };
    struct Entry {
        std::string name;
        std::string value;  // UTF-8; a count in decimal; a flag "true" or "false"
        Kind kind = Kind::Text;
    };

    // Empty text is not set; a later value of a name replaces an earlier one.
    void setText(const std::string& name, const std::string& utf8);
    // Negative counts are not set: no document keeps one.
    void setCount(const std::string& name, int64_t count);
    // 100 ns units since 1601-01-01 UTC; zero and times outside the years
    // 1601-9999 are not set.
    void setFileTime(const std::string& name, uint64_t fileTime);
    void setFlag(const std::string& name, bool flag);

    const std::vector<Entry>& entries() const { return entries_; }
    const Entry* find(const std::string& name) const;
    bool empty() const { return entries_.empty(); }

private:
    void set(const std::string& name, std::string value, Kind kind);

    std::vector<Entry> entries_;
};

// "YYYY-MM-DDTHH:MM:SSZ" for seconds since 1970-01-01 UTC; "" outside the
// years 1601-9999.
std::string isoUtcTime(int64_t unixSeconds);
// Seconds since 1970-01-01 of a civil date and time; false for one that does
// not exist (month 13, February 30, hour 24).
bool unixSecondsOf(int year, int month, int day, int hour, int minute, int second, int64_t& out);

}  // namespace quillet
