#include "legacy/excel/ExcelBinaryReader.h"

#include "compound/CompoundFile.h"
#include "legacy/excel/ExcelCell.h"
#include "legacy/excel/ExcelPictures.h"
#include "output/OutputFailure.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <quillet/quillet.h>

#include <QString>

#include <algorithm>
#include <cstring>

namespace quillet {
namespace {

enum RecordType : int {
    kFormula = 0x0006,
    kHeader = 0x0014,
    kFooter = 0x0015,
    kNote = 0x001C,
    kDateMode = 0x0022,
    kCodePage = 0x0042,
    kFilePass = 0x002F,
    kObject = 0x005D,
    kMulRk = 0x00BD,
    kRichLabel = 0x00D6,
    kCellStyle = 0x00E0,
    kDrawingGroup = 0x00EB,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kTextObject = 0x01B6,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kFormulaString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
    kEof = 0x000A,
    kBoundSheet = 0x0085,
};

constexpr uint16_t kBiff5 = 0x0500;

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

void ExcelBinaryReader::appendNumber(unsigned style, double value)
{
    shown_.clear();
    formats_.format(style, value, shown_);
    if (shown_.empty())
        return;
    appendUtf8AsUtf16(shown_, pending_);
    write(u"\t");
}

// The text Excel shows for an error code of a cell or a formula's result.
std::u16string_view ExcelBinaryReader::errorText(uint8_t code)
{
    switch (code) {
    case 0x00:
        return u"#NULL!";
    case 0x07:
        return u"#DIV/0!";
    case 0x0F:
        return u"#VALUE!";
    case 0x17:
        return u"#REF!";
    case 0x1D:
        return u"#NAME?";
    case 0x24:
        return u"#NUM!";
    case 0x2A:
        return u"#N/A";
    default:
        return u"#GETTING_DATA";
    }
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
    const uint16_t kind = reader_->readU16();
    if (kind == kCommentObject)
        pendingComment_ = reader_->readU16();
    pendingShape_ = kind != kCommentObject;
}

// The text of a comment is kept until its cell's note; that of a text box or
// another shape is written where it stands, after the sheet's cells.
void ExcelBinaryReader::readTextObject()
{
    const int id = pendingComment_;
    const bool shape = pendingShape_;
    pendingComment_ = -1;
    pendingShape_ = false;
    if (id == -1 && !shape)
        return;
    reader_->skip(10);
    const size_t count = reader_->readU16();
    reader_->skipRecord();
    std::u16string text;
    if (reader_->nextType() == BiffReader::kContinue) {
        reader_->beginRecord();
        const bool wide = reader_->readU8() != 0;
        reader_->readChars(text, wide ? count * 2 : count, wide);
    }
    if (id != -1) {
        comments_[id] = std::move(text);
        return;
    }
    const size_t zero = text.find(u'\0');
    if (zero != std::u16string::npos)
        text.resize(zero);
    if (!text.empty())
        appendValue(text);
}

void ExcelBinaryReader::readNote()
{
    if (biff5_) {
        // Excel 5 keeps the text in the note itself (row 0xFFFF: a continued one).
        reader_->skip(4);
        std::u16string text;
        readByteString(reader_->readU16(), text);
        if (!text.empty())
            appendValue(text);
        return;
    }
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

int ExcelBinaryReader::exportDocument(CompoundFile& file, const std::string& folder, uint32_t flags,
                                      DocumentRecord* record)
{
    if (file.openStream("ZebEncryptionInfo"))
        return Encrypted;
    workbook_ = file.openStream("Workbook");
    // Excel 5 and 95 named the stream "Book".
    if (!workbook_)
        workbook_ = file.openStream("Book");
    if (!workbook_)
        return Unreadable;
    return exportWorkbook(*workbook_, folder, flags, record);
}

int ExcelBinaryReader::exportWorkbook(CompoundStream& workbook, const std::string& folder, uint32_t flags,
                                      DocumentRecord* record)
{
    reader_ = std::make_unique<BiffReader>(workbook);
    if ((flags & WriteText) != 0) {
        sink_ = std::make_unique<TextSink>(folder, TextSink::FileForm::Utf8Lines);
        sink_->setRecord(record);
    }
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
    case kRichLabel:
    case kBof:
    case kEof:
    case kBoundSheet:
    case kCodePage:
    case kMulRk:
    case kFormula:
    case kFormulaString:
    case kBoolErr:
    case kFormat:
    case kCellStyle:
    case kDateMode:
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
    case kRichLabel:
        readLabel();
        break;
    case kBof:
        readBof();
        break;
    case kEof:
        depth_ = std::max(depth_ - 1, 0);
        break;
    case kBoundSheet:
        readSheetName();
        break;
    case kCodePage:
        codePage_ = reader_->readU16();
        decoder_.reset();
        break;
    case kMulRk:
        readMulRk();
        break;
    case kFormula:
        readFormula();
        break;
    case kFormulaString:
        readFormulaString();
        break;
    case kBoolErr:
        readBoolErr();
        break;
    case kFormat:
        readFormat();
        break;
    case kCellStyle:
        reader_->skip(2);
        formats_.addStyle(reader_->readU16());
        break;
    case kDateMode:
        formats_.setDate1904(reader_->readU16() == 1);
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
    appendNumber(cell.style, cell.value);
}

void ExcelBinaryReader::readRk()
{
    RKRecord cell;
    cell.read(*reader_);
    const double value = cell.value();
    checkRow(cell.row);
    appendNumber(cell.style, value);
}

// A run of RK numbers on one row: a style and a value for each column, the
// last column at the end.
void ExcelBinaryReader::readMulRk()
{
    const int row = reader_->readU16();
    reader_->skip(2);
    if (reader_->left() < 8)
        return;
    checkRow(row);
    for (size_t count = (reader_->left() - 2) / 6; count > 0; --count) {
        const unsigned style = reader_->readU16();
        appendNumber(style, rkValue(reader_->readU32()));
    }
}

// The result the formula had when the workbook was saved: a number, or a
// string (in the STRING record after it), a boolean, an error or nothing,
// marked by 0xFFFF in the top two bytes.
void ExcelBinaryReader::readFormula()
{
    NumberRecord cell;
    cell.read(*reader_);
    pendingString_ = false;
    uint64_t bits;
    std::memcpy(&bits, &cell.value, sizeof bits);
    if ((bits >> 48) != 0xFFFF) {
        checkRow(cell.row);
        appendNumber(cell.style, cell.value);
        return;
    }
    const uint8_t kind = uint8_t(bits & 0xFF);
    const uint8_t value = uint8_t((bits >> 16) & 0xFF);
    if (kind == 0) {
        pendingString_ = true;
        pendingRow_ = cell.row;
    } else if (kind == 1) {
        checkRow(cell.row);
        appendValue(value != 0 ? u"TRUE" : u"FALSE");
    } else if (kind == 2) {
        checkRow(cell.row);
        appendValue(errorText(value));
    }
}

void ExcelBinaryReader::readFormulaString()
{
    if (!pendingString_)
        return;
    pendingString_ = false;
    std::u16string value;
    readCellString(value);
    checkRow(pendingRow_);
    if (!value.empty())
        appendValue(value);
}

void ExcelBinaryReader::readBoolErr()
{
    Cell cell;
    cell.read(*reader_);
    const uint8_t value = reader_->readU8();
    const bool error = reader_->readU8() != 0;
    checkRow(cell.row);
    if (error)
        appendValue(errorText(value));
    else
        appendValue(value != 0 ? u"TRUE" : u"FALSE");
}

void ExcelBinaryReader::readFormat()
{
    const unsigned id = reader_->readU16();
    std::u16string code;
    readShortString(code);
    formats_.addFormat(id, utf16ToUtf8(code.data(), code.size()));
}

void ExcelBinaryReader::readCellString(std::u16string& out)
{
    if (biff5_)
        readByteString(reader_->readU16(), out);
    else
        reader_->readString(out);
}

// Excel 5 strings: bytes of the workbook's code page, cut at the record's end.
void ExcelBinaryReader::readByteString(size_t count, std::u16string& out)
{
    if (count > reader_->left())
        count = reader_->left();
    std::string bytes(count, '\0');
    reader_->readBytes(bytes.data(), count);
    if (!decoder_)
        decoder_ = std::make_unique<platform::CodePageDecoder>(codePage_ == 1200 ? 1252 : codePage_);
    out += decoder_->decode(bytes.data(), bytes.size());
}

void ExcelBinaryReader::readShortString(std::u16string& out)
{
    if (biff5_)
        readByteString(reader_->readU8(), out);
    else
        reader_->readString(out);
}

void ExcelBinaryReader::readBof()
{
    // The workbook's own BOF comes first; sheets repeat it, and charts inside
    // a sheet open a substream of their own.
    const uint16_t version = reader_->readU16();
    if (!sawBof_) {
        biff5_ = version == kBiff5;
    } else if (depth_ == 0) {
        // A sheet's first row starts a line even when its number is the
        // last row's of the sheet before.
        if (sheetsBegun_ > 0)
            lastRow_ = -1;
        flush();
        const size_t index = static_cast<size_t>(sheetsBegun_++);
        if (sink_)
            sink_->beginPart("sheet", sheetsBegun_, index < sheetNames_.size() ? sheetNames_[index] : std::string());
    }
    sawBof_ = true;
    ++depth_;
}

void ExcelBinaryReader::readSheetName()
{
    // Position, visibility and kind, then a name of at most 31 characters
    // with an 8-bit count.
    reader_->skip(6);
    std::u16string name;
    const uint8_t count = reader_->readU8();
    if (biff5_) {
        readByteString(count, name);
    } else {
        const bool sixteenBit = (reader_->readU8() & 1) != 0;
        reader_->readChars(name, sixteenBit ? count * 2u : count, sixteenBit);
    }
    sheetNames_.push_back(QString::fromStdU16String(name).toStdString());
}

void ExcelBinaryReader::readLabel()
{
    reader_->skip(6);
    std::u16string value;
    readCellString(value);
    if (!value.empty())
        appendValue(value);
}

void ExcelBinaryReader::readHeader()
{
    std::u16string value;
    readShortString(value);
    if (!value.empty()) {
        pending_ += u'\n';
        appendValue(value);
    }
}

void ExcelBinaryReader::readFooter()
{
    std::u16string value;
    readShortString(value);
    write(value);
}

void ExcelBinaryReader::readDrawingGroup(const std::string& folder)
{
    if (picturesError_ == 0)
        picturesError_ = extractExcelDrawingGroupPictures(*reader_, folder);
}

int exportExcelDocument(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    ExcelBinaryReader reader;
    return reader.exportDocument(file, folder, flags, record);
}

}  // namespace quillet
