// Bytes as an RTF body: the tokenizer over an in-memory document, with the
// gathered text and pictures bounded by the input's size, then the export
// run on the same bytes from a file.
#include "FuzzScratch.h"

#include "rtf/RtfEntry.h"
#include "rtf/RtfParseTarget.h"
#include "rtf/RtfParser.h"

#include <quillet/quillet.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class MemoryDocument : public quillet::RtfParseTarget {
public:
    MemoryDocument(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    void text(std::u16string& out) const override { out = text_; }
    void pictures(std::vector<std::shared_ptr<quillet::RtfPicture>>& out) const override { out = pictures_; }
    void dataBegin(const uint8_t*& begin) const override { begin = data_; }
    void dataEnd(const uint8_t*& end) const override { end = data_ + size_; }
    void addPicture(std::shared_ptr<quillet::RtfPicture> picture) override
    {
        if (!picture || !picture->data || picture->size != picture->data->size() || picture->kind < 0 ||
            picture->kind > 5)
            std::abort();
        pictureBytes_ += picture->size;
        pictures_.push_back(std::move(picture));
    }
    void appendUnit(char16_t unit) override { text_.push_back(unit); }
    void appendText(const std::u16string& text) override { text_ += text; }
    void appendChar(char byte) override { text_.push_back(char16_t(int16_t(static_cast<signed char>(byte)))); }
    void appendNarrow(const std::string&) override { std::abort(); }  // the parser never uses it

    size_t textUnits() const { return text_.size(); }
    size_t pictureBytes() const { return pictureBytes_; }

private:
    const uint8_t* data_;
    size_t size_;
    std::u16string text_;
    std::vector<std::shared_ptr<quillet::RtfPicture>> pictures_;
    size_t pictureBytes_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryDocument document(data, size);
    quillet::RtfParser parser;
    if (parser.parse(document) != 1)
        std::abort();
    // Each input byte gives at most two units of text and one picture byte.
    if (document.textUnits() > 2 * size + 2 || document.pictureBytes() > size)
        std::abort();

    static FuzzScratch scratch;
    if (!scratch.ready() || size > (1 << 16))
        return 0;
    const std::string source = scratch.write("input.rtf", data, size);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    quillet::exportRtfDocument(source, out, quillet::WriteText | quillet::WritePictures | quillet::WriteExtras);
    return 0;
}
