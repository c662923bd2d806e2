#pragma once

#include "compound/CompoundStream.h"
#include "legacy/excel/BiffReader.h"
#include "legacy/excel/SstTable.h"
#include "numberformat/CellFormats.h"
#include "output/TextSink.h"
#include "platform/CodePage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

class CompoundFile;
class DocumentRecord;

// The cell text of a BIFF8 workbook in record order, each value as its cell
// style shows it: a tab after every value and a line feed wherever the row
// changes; with flag 0x100 also page headers, footers and cell comments. One
// reader serves one run.
class ExcelBinaryReader {
public:
    ExcelBinaryReader() = default;
    ExcelBinaryReader(const ExcelBinaryReader&) = delete;
    ExcelBinaryReader& operator=(const ExcelBinaryReader&) = delete;

    // Returns 0; 1 when the shared strings streamed; 4100 without "Workbook";
    // 4102 when encrypted (a text file begun is deleted).
    // With a record, each sheet's start goes into it.
    int exportDocument(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record = nullptr);
    // The records of a workbook stream alone: 0, 1 or 4102.
    int exportWorkbook(CompoundStream& workbook, const std::string& folder, uint32_t flags,
                       DocumentRecord* record = nullptr);

private:
    enum class Needs { Always, Text, Extras, Pictures, Never };
    // readRecord's answer when the walk goes on; the others end it.
    static constexpr int kReadOn = -1;

    static Needs needsOf(int type);
    int readRecords(const std::string& folder, uint32_t flags);
    int readRecord(const std::string& folder);
    int readSharedStrings();
    void readLabelSst();
    void readNumber();
    void readRk();
    void readLabel();
    void readMulRk();
    void readFormula();
    void readFormulaString();
    void readBoolErr();
    void readFormat();
    // A cell's string: in Excel 5 a 16-bit count and bytes of the code page.
    void readCellString(std::u16string& out);
    // A format's, header's or footer's string: in Excel 5 an 8-bit count.
    void readShortString(std::u16string& out);
    void readByteString(size_t count, std::u16string& out);
    static std::u16string_view errorText(uint8_t code);
    void readHeader();
    void readFooter();
    void readDrawingGroup(const std::string& folder);
    void write(std::u16string_view text);
    void flush();
    // The value and a tab.
    void appendValue(std::u16string_view value);
    // The value as its cell style shows it, and a tab; nothing when it shows
    // as nothing.
    void appendNumber(unsigned style, double value);
    void checkRow(int row);
    void readObject();
    void readTextObject();
    void readNote();
    void readSheetName();
    void readBof();

    std::unique_ptr<CompoundStream> workbook_;
    std::unique_ptr<BiffReader> reader_;
    std::unique_ptr<TextSink> sink_;
    std::unique_ptr<SstTable> sst_;
    // The workbook's formats and cell styles: one entry per FORMAT or XF
    // record, each no larger than its record.
    CellFormats formats_;
    std::string shown_;
    // A formula whose string result is in the STRING record to come.
    bool pendingString_ = false;
    int pendingRow_ = 0;
    // Excel 5 and 95 (BIFF5): 8-bit strings in the CODEPAGE record's page.
    bool biff5_ = false;
    bool sawBof_ = false;
    // Substreams open (charts nest in sheets) and the sheets begun so far.
    int depth_ = 0;
    int sheetsBegun_ = 0;
    std::vector<std::string> sheetNames_;  // UTF-8, in the workbook's order
    unsigned codePage_ = 1252;
    std::unique_ptr<platform::CodePageDecoder> decoder_;
    std::unordered_map<int, std::u16string> comments_;
    int pendingComment_ = -1;
    // A text box or other shape whose text object may follow.
    bool pendingShape_ = false;
    int lastRow_ = 0;
    int picturesError_ = 0;  // of the first picture file that could not be made
    std::u16string pending_;
};

// The entry of the dispatch: BIFF8 workbooks ("Workbook" stream) and Excel 5
// and 95 ones ("Book").
int exportExcelDocument(CompoundFile& file, const std::string& folder, uint32_t flags,
                        DocumentRecord* record = nullptr);

}  // namespace quillet
