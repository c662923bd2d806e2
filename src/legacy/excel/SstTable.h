#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class BiffReader;

// The strings of an SST record, and of the CONTINUE records after it, one at
// a time. Strings beyond the declared count are read from the SST record
// itself only.
class SstReader {
public:
    // The reader stands at the body of an SST record; reads its two counts.
    explicit SstReader(BiffReader& reader);

    // Appends the next string's units to out; false when there is none.
    bool next(std::u16string& out);

    // A table of at least 5,000 unique strings, each used at least 20 times
    // on average, is written as it is read instead of being kept.
    bool streams() const
    {
        return uniqueCount_ >= kStreamingUnique && totalUses_ / uniqueCount_ >= kStreamingUsesPerString;
    }

    static constexpr uint32_t kStreamingUnique = 5000;
    static constexpr uint32_t kStreamingUsesPerString = 20;

private:
    BiffReader& reader_;
    uint32_t totalUses_ = 0;
    uint32_t uniqueCount_ = 0;
    uint32_t read_ = 0;
    bool ended_ = false;
};

// The shared strings of a workbook, kept for the cells that name them.
class SstTable {
public:
    void read(SstReader& strings);

    // Empty outside the table.
    std::u16string_view at(uint32_t index) const;
    size_t size() const { return ends_.size(); }

private:
    // Every string's units one after another; ends_[i] is where string i ends.
    // Each string took at least three bytes of the stream, so the table stays
    // within a few times the size of its records.
    std::u16string units_;
    std::vector<uint32_t> ends_;
};

}  // namespace quillet
