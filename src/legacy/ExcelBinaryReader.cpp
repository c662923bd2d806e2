#include "legacy/ExcelBinaryReader.h"

#include "compound/CompoundFile.h"
#include "legacy/BinaryPictures.h"
#include "legacy/BinaryReaderEntries.h"
#include "legacy/ExcelCell.h"
#include "legacy/ExcelNumberFormat.h"

#include <quillet/quillet.h>

namespace quillet {
namespace {

enum RecordType : int {
    kHeader = 0x0014,
    kFooter = 0x0015,
    kNote = 0x001C,
    kFilePass = 0x002F,
    kObject = 0x005D,
    kDrawingGroup = 0x00EB,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kTextObject = 0x01B6,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kRk = 0x027E,
};

constexpr uint16_t kCommentObject = 25;

}  // namespace

void ExcelBinaryReader::appendValue(std::u16string_view value)
{
    scratch_.assign(value);
    scratch_ += u'\t';
    sink_->appendWide(scratch_);
}

void ExcelBinaryReader::checkRow(int row)
{
    if (row == lastRow_)
        return;
    lastRow_ = row;
    sink_->appendWide(u"\n", 1);
}

void ExcelBinaryReader::readObject()
{
    pendingComment_ = -1;
    reader_->skip(4);
    if (reader_->readU16() == kCommentObject)
        pendingComment_ = reader_->readU16();
}

void ExcelBinaryReader::readTextObject()
{
    const int id = pendingComment_;
    pendingComment_ = -1;
    reader_->skip(10);
    const size_t count = reader_->readU16();
    reader_->skipRecord();
    std::u16string text;
    if (reader_->nextType() == BiffReader::kContinue) {
        reader_->beginRecord();
        const bool wide = reader_->readU8() != 0;
        reader_->readChars(text, wide ? count * 2 : count, wide);
    }
    comments_[id] = std::move(text);
}

void ExcelBinaryReader::readNote()
{
    reader_->skip(6);
    const int id = reader_->readU16();
    const auto found = comments_.find(id);
    if (found == comments_.end())
        return;
    std::u16string text = std::move(found->second);
    comments_.erase(found);
    const size_t zero = text.find(u'\0');
    if (zero != std::u16string::npos)
        text.resize(zero);
    if (!text.empty())
        appendValue(text);
}

int ExcelBinaryReader::exportDocument(const std::string& folder, uint32_t flags)
{
    if (file_.openStream("ZebEncryptionInfo"))
        return Encrypted;
    workbook_ = file_.openStream("Workbook");
    if (!workbook_)
        return Unreadable;
    reader_ = std::make_unique<BiffReader>(*workbook_);
    const bool text = (flags & WriteText) != 0;
    const bool extras = text && (flags & WriteExtras) != 0;
    if (text)
        sink_ = std::make_unique<TextSink>(folder);

    while (reader_->nextRecord()) {
        reader_->beginRecord();
        switch (reader_->type()) {
        case kFilePass:
            if (sink_)
                sink_->discard();
            return Encrypted;
        case kSst:
            if (!text || sst_)
                break;
            sst_ = std::make_unique<SstTable>();
            sst_->read(*reader_, *sink_);
            if (sst_->streaming()) {
                sink_->close();
                return SharedStringsOnly;
            }
            break;
        case kLabelSst:
            if (text) {
                LabelSstRecord cell;
                cell.read(*reader_);
                if (sst_) {
                    const std::u16string_view value = sst_->at(cell.index);
                    checkRow(cell.row);
                    if (!value.empty())
                        appendValue(value);
                }
            }
            break;
        case kNumber:
            if (text) {
                NumberRecord cell;
                cell.read(*reader_);
                checkRow(cell.row);
                appendValue(formatCellNumber(cell.value));
            }
            break;
        case kRk:
            if (text) {
                RKRecord cell;
                cell.read(*reader_);
                const double value = cell.value();
                checkRow(cell.row);
                appendValue(formatCellNumber(value));
            }
            break;
        case kLabel:
            if (text) {
                reader_->skip(6);
                std::u16string value;
                reader_->readString(value);
                if (!value.empty())
                    appendValue(value);
            }
            break;
        case kHeader:
            if (extras) {
                std::u16string value;
                reader_->readString(value);
                if (!value.empty())
                    sink_->appendWide(u"\n" + value + u"\t");
            }
            break;
        case kFooter:
            if (extras) {
                std::u16string value;
                reader_->readString(value);
                sink_->appendWide(value);
            }
            break;
        case kObject:
            if (extras)
                readObject();
            break;
        case kTextObject:
            if (extras && pendingComment_ != -1)
                readTextObject();
            break;
        case kNote:
            if (extras)
                readNote();
            break;
        case kDrawingGroup:
            if ((flags & WritePictures) != 0)
                extractExcelDrawingGroupPictures(*reader_, folder);
            break;
        default:
            break;
        }
    }
    if (sink_)
        sink_->close();
    return Success;
}

int exportExcelDocument(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    ExcelBinaryReader reader(file);
    return reader.exportDocument(folder, flags);
}

}  // namespace quillet
