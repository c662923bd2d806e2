#pragma once

#include "compound/CompoundStream.h"
#include "legacy/BiffReader.h"
#include "legacy/SstTable.h"
#include "output/TextSink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace quillet {

class CompoundFile;

// The cell text of a BIFF8 workbook in record order: a tab after every
// value and a line feed wherever the row changes; with flag 0x100 also page
// headers, footers and cell comments. One reader serves one run.
class ExcelBinaryReader {
public:
    ExcelBinaryReader() = default;
    ExcelBinaryReader(const ExcelBinaryReader&) = delete;
    ExcelBinaryReader& operator=(const ExcelBinaryReader&) = delete;

    // Returns 0; 1 when the shared strings streamed; 4100 without "Workbook";
    // 4102 when encrypted (a text file begun is deleted).
    int exportDocument(CompoundFile& file, const std::string& folder, uint32_t flags);
    // The records of a workbook stream alone: 0, 1 or 4102.
    int exportWorkbook(CompoundStream& workbook, const std::string& folder, uint32_t flags);

private:
    int readRecords(const std::string& folder, uint32_t flags);
    void write(std::u16string_view text);
    void flush();
    // The value and a tab.
    void appendValue(std::u16string_view value);
    void appendNumber(double value);
    void checkRow(int row);
    void readObject();
    void readTextObject();
    void readNote();

    std::unique_ptr<CompoundStream> workbook_;
    std::unique_ptr<BiffReader> reader_;
    std::unique_ptr<TextSink> sink_;
    std::unique_ptr<SstTable> sst_;
    std::unordered_map<int, std::u16string> comments_;
    int pendingComment_ = -1;
    int lastRow_ = 0;
    bool picturesFailed_ = false;
    std::u16string pending_;
};

}  // namespace quillet
