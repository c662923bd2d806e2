#include "legacy/SstTable.h"

#include "legacy/BiffReader.h"
#include "output/TextSink.h"

namespace quillet {

void SstTable::readOne(BiffReader& reader, TextSink& sink)
{
    if (streaming_) {
        scratch_.clear();
        reader.readRichString(scratch_);
        scratch_ += u"\r\n";
        sink.appendWide(scratch_);
        return;
    }
    reader.readRichString(units_);
    ends_.push_back(static_cast<uint32_t>(units_.size()));
}

void SstTable::read(BiffReader& reader, TextSink& sink)
{
    totalUses = reader.readU32();
    uniqueCount = reader.readU32();
    streaming_ = uniqueCount >= kStreamingUnique && totalUses / uniqueCount >= kStreamingUsesPerString;
    for (uint32_t i = 0; i < uniqueCount; ++i) {
        readOne(reader, sink);
        while (reader.left() == 0 && reader.nextType() == BiffReader::kContinue)
            reader.beginRecord();
        if (reader.left() == 0)
            return;
    }
    while (reader.left() > 0)
        readOne(reader, sink);
}

std::u16string_view SstTable::at(uint32_t index) const
{
    if (index >= ends_.size())
        return {};
    const uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::u16string_view(units_).substr(begin, ends_[index] - begin);
}

}  // namespace quillet
