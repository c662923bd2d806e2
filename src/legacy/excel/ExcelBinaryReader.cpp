#include "legacy/excel/ExcelBinaryReader.h"

#include "compound/CompoundFile.h"
#include "legacy/excel/ExcelCell.h"
#include "legacy/excel/ExcelNumberFormat.h"
#include "legacy/excel/ExcelPictures.h"
#include "output/OutputFailure.h"

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
// Text is handed to the sink in blocks of about this many units.
constexpr size_t kBlock = 32768;

}  // namespace

void ExcelBinaryReader::flush()
{
    if (sink_ && !pending_.empty())
        sink_->appendWide(pending_);
    pending_.clear();
}

void ExcelBinaryReader::appendNumber(double value)
{
    appendCellNumber(value, pending_);
    appendValue({});
}

void ExcelBinaryReader::write(std::u16string_view text)
{
    pending_ += text;
    if (pending_.size() >= kBlock)
        flush();
}

void ExcelBinaryReader::appendValue(std::u16string_view value)
{
    pending_ += value;
    write(u"\t");
}

void ExcelBinaryReader::checkRow(int row)
{
    if (row == lastRow_)
        return;
    lastRow_ = row;
    pending_ += u'\n';
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
    if (pendingComment_ == -1)
        return;
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

int ExcelBinaryReader::exportDocument(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    if (file.openStream("ZebEncryptionInfo"))
        return Encrypted;
    workbook_ = file.openStream("Workbook");
    if (!workbook_)
        return Unreadable;
    return exportWorkbook(*workbook_, folder, flags);
}

int ExcelBinaryReader::exportWorkbook(CompoundStream& workbook, const std::string& folder, uint32_t flags)
{
    reader_ = std::make_unique<BiffReader>(workbook);
    if ((flags & WriteText) != 0)
        sink_ = std::make_unique<TextSink>(folder);
    try {
        const int result = readRecords(folder, flags);
        flush();
        OutputFailure output;
        if (sink_ && result == Encrypted)
            sink_->discard();
        else if (sink_)
            output.note(sink_->close());
        output.note(picturesError_);
        return int(output.result(uint32_t(result)));
    } catch (...) {
        // What was read before the damage stays in the text file.
        flush();
        throw;
    }
}

// What reading a record kind needs: text at all, or extras or pictures.
ExcelBinaryReader::Needs ExcelBinaryReader::needsOf(int type)
{
    switch (type) {
    case kFilePass:
        return Needs::Always;
    case kSst:
    case kLabelSst:
    case kNumber:
    case kRk:
    case kLabel:
        return Needs::Text;
    case kHeader:
    case kFooter:
    case kObject:
    case kTextObject:
    case kNote:
        return Needs::Extras;
    case kDrawingGroup:
        return Needs::Pictures;
    default:
        return Needs::Never;
    }
}

int ExcelBinaryReader::readRecords(const std::string& folder, uint32_t flags)
{
    const bool text = sink_ != nullptr;
    const bool wanted[] = {
        true,                                // Always
        text,                                // Text
        text && (flags & WriteExtras) != 0,  // Extras
        (flags & WritePictures) != 0,        // Pictures
        false,                               // Never
    };
    while (reader_->nextRecord()) {
        reader_->beginRecord();
        if (!wanted[static_cast<int>(needsOf(reader_->type()))])
            continue;
        const int stop = readRecord(folder);
        if (stop != kReadOn)
            return stop;
    }
    return Success;
}

int ExcelBinaryReader::readRecord(const std::string& folder)
{
    switch (reader_->type()) {
    case kFilePass:
        pending_.clear();
        return Encrypted;
    case kSst:
        return readSharedStrings();
    case kLabelSst:
        readLabelSst();
        break;
    case kNumber:
        readNumber();
        break;
    case kRk:
        readRk();
        break;
    case kLabel:
        readLabel();
        break;
    case kHeader:
        readHeader();
        break;
    case kFooter:
        readFooter();
        break;
    case kObject:
        readObject();
        break;
    case kTextObject:
        readTextObject();
        break;
    case kNote:
        readNote();
        break;
    case kDrawingGroup:
        readDrawingGroup(folder);
        break;
    default:
        break;
    }
    return kReadOn;
}

int ExcelBinaryReader::readSharedStrings()
{
    if (sst_)
        return kReadOn;
    flush();
    sst_ = std::make_unique<SstTable>();
    SstReader strings(*reader_);
    if (!strings.streams()) {
        sst_->read(strings);
        return kReadOn;
    }
    // Each string on a line of its own, and nothing after them.
    std::u16string line;
    while (strings.next(line)) {
        line += u"\r\n";
        sink_->appendWide(line);
        line.clear();
    }
    return SharedStringsOnly;
}

void ExcelBinaryReader::readLabelSst()
{
    LabelSstRecord cell;
    cell.read(*reader_);
    if (!sst_)
        return;
    const std::u16string_view value = sst_->at(cell.index);
    checkRow(cell.row);
    if (!value.empty())
        appendValue(value);
}

void ExcelBinaryReader::readNumber()
{
    NumberRecord cell;
    cell.read(*reader_);
    checkRow(cell.row);
    appendNumber(cell.value);
}

void ExcelBinaryReader::readRk()
{
    RKRecord cell;
    cell.read(*reader_);
    const double value = cell.value();
    checkRow(cell.row);
    appendNumber(value);
}

void ExcelBinaryReader::readLabel()
{
    reader_->skip(6);
    std::u16string value;
    reader_->readString(value);
    if (!value.empty())
        appendValue(value);
}

void ExcelBinaryReader::readHeader()
{
    std::u16string value;
    reader_->readString(value);
    if (!value.empty()) {
        pending_ += u'\n';
        appendValue(value);
    }
}

void ExcelBinaryReader::readFooter()
{
    std::u16string value;
    reader_->readString(value);
    write(value);
}

void ExcelBinaryReader::readDrawingGroup(const std::string& folder)
{
    if (picturesError_ == 0)
        picturesError_ = extractExcelDrawingGroupPictures(*reader_, folder);
}

int exportExcelDocument(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    ExcelBinaryReader reader;
    return reader.exportDocument(file, folder, flags);
}

}  // namespace quillet
