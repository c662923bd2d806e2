#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class BiffReader;
class TextSink;

// The shared strings of a workbook. A table of at least 5,000 unique strings,
// each used at least 20 times on average, streams: its strings go straight to
// the sink, each followed by CR LF, and are not kept.
class SstTable {
public:
    static constexpr uint32_t kStreamingUnique = 5000;
    static constexpr uint32_t kStreamingUsesPerString = 20;

    // The reader stands at the body of an SST record.
    void read(BiffReader& reader, TextSink& sink);

    bool streaming() const { return streaming_; }
    // Empty outside the table.
    std::u16string_view at(uint32_t index) const;
    size_t size() const { return ends_.size(); }

    uint32_t totalUses = 0;
    uint32_t uniqueCount = 0;

private:
    void readOne(BiffReader& reader, TextSink& sink);

    bool streaming_ = false;
    // Every string's units one after another; ends_[i] is where string i ends.
    // Each string took at least three bytes of the stream, so the table stays
    // within a few times the size of its records.
    std::u16string units_;
    std::vector<uint32_t> ends_;
    std::u16string scratch_;
};

}  // namespace quillet
