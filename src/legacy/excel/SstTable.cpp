#include "legacy/excel/SstTable.h"

#include "legacy/excel/BiffReader.h"

namespace quillet {

SstReader::SstReader(BiffReader& reader) : reader_(reader)
{
    totalUses_ = reader.readU32();
    uniqueCount_ = reader.readU32();
}

bool SstReader::next(std::u16string& out)
{
    if (ended_)
        return false;
    if (read_ >= uniqueCount_) {
        if (reader_.left() <= 0)
            return false;
        reader_.readRichString(out);
        return true;
    }
    reader_.readRichString(out);
    ++read_;
    while (reader_.left() == 0 && reader_.nextType() == BiffReader::kContinue)
        reader_.beginRecord();
    ended_ = reader_.left() == 0;
    return true;
}

void SstTable::read(SstReader& strings)
{
    while (strings.next(units_))
        ends_.push_back(static_cast<uint32_t>(units_.size()));
}

std::u16string_view SstTable::at(uint32_t index) const
{
    if (index >= ends_.size())
        return {};
    const uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::u16string_view(units_).substr(begin, ends_[index] - begin);
}

}  // namespace quillet
