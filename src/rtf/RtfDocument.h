#pragma once

#include "rtf/RtfParseTarget.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class TextSink;

// One RTF file held whole in memory, and what the parser gathered from it.
class RtfDocument : public RtfParseTarget {
public:
    // Loads the file in 4096-byte chunks. A missing file is silently not
    // opened; a failed open also says so on the standard error stream.
    explicit RtfDocument(const std::string& path);
    RtfDocument(const RtfDocument&) = delete;
    RtfDocument& operator=(const RtfDocument&) = delete;

    bool opened() const { return opened_; }
    const std::u16string& gatheredText() const { return text_; }
    // From now on the text goes to the sink in pieces instead of being
    // gathered, so a document costs little more than its own bytes;
    // finishText hands over the last piece.
    void streamTextTo(TextSink* sink);
    void finishText();

    void text(std::u16string& out) const override { out = text_; }
    void pictures(std::vector<std::shared_ptr<RtfPicture>>& out) const override { out = pictures_; }
    void dataBegin(const uint8_t*& begin) const override { begin = data_.data(); }
    void dataEnd(const uint8_t*& end) const override { end = data_.data() + data_.size(); }
    void addPicture(std::shared_ptr<RtfPicture> picture) override { pictures_.push_back(std::move(picture)); }
    void appendUnit(char16_t unit) override
    {
        text_.push_back(unit);
        passFullPiece();
    }
    void appendText(const std::u16string& text) override
    {
        text_ += text;
        passFullPiece();
    }
    void appendChar(char byte) override { appendUnit(char16_t(int16_t(static_cast<signed char>(byte)))); }
    void appendNarrow(const std::string& utf8) override;

    static constexpr size_t kPieceUnits = 64 * 1024;

private:
    void passFullPiece()
    {
        if (sink_ != nullptr && text_.size() >= kPieceUnits)
            finishText();
    }

    TextSink* sink_ = nullptr;
    std::vector<std::shared_ptr<RtfPicture>> pictures_;
    std::u16string text_;
    std::vector<uint8_t> data_;
    bool opened_ = true;
};

}  // namespace quillet
