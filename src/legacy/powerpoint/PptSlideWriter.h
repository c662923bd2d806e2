#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class CompoundStream;
class PptRecordReader;
class TextSink;

// Writes one slide (or, with the extras, one notes page) of a binary
// presentation: its text atoms, the placeholder texts its outline references
// name, its comments and its embedded drawing packages, each piece followed
// by a tab.
class PptSlideWriter {
public:
    PptSlideWriter(std::vector<std::u16string> placeholders, CompoundStream& stream, TextSink& sink, int64_t* work)
        : placeholders_(std::move(placeholders)), stream_(stream), sink_(sink), work_(work)
    {
    }
    PptSlideWriter(const PptSlideWriter&) = delete;
    PptSlideWriter& operator=(const PptSlideWriter&) = delete;

    // False when the offset cannot be reached; records that are no slide
    // (masters, for instance) write nothing and count as written. A slide or
    // notes page written begins a part of the sink's, numbered `number`.
    bool write(int64_t offset, bool extras, int number);

private:
    void writeComment(PptRecordReader& reader);
    void writeEmbeddedDrawing(PptRecordReader& reader);
    void appendPiece(const std::u16string& text);

    std::vector<std::u16string> placeholders_;
    CompoundStream& stream_;
    TextSink& sink_;
    int64_t* work_;
    size_t outlineCounter_ = 0;
};

}  // namespace quillet
