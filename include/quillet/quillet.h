// quillet: plain text (and pictures) out of office documents, RTF and PDF.
// SPDX-License-Identifier: AGPL-3.0-or-later
#ifndef QUILLET_QUILLET_H
#define QUILLET_QUILLET_H

#include <stdint.h>

#if defined(QUILLET_BUILDING)
#define QUILLET_API __attribute__((visibility("default")))
#else
#define QUILLET_API
#endif

#ifdef __cplusplus
#include <QString>

namespace quillet {

// Result codes of export2Txt. A code that is none of these is the errno of
// opening the source file (2 when it does not exist, 13 when access is denied).
enum ResultCode : uint32_t {
    Success = 0,
    SharedStringsOnly = 1,    // spreadsheet written as its unique strings only
    OutputFolderMissing = 2,  // the output folder could not be made
    Unsupported = 4097,
    ConversionFailed = 4098,
    WordStructureMissing = 4099,
    // A word-processing, spreadsheet or presentation package without a main part.
    PackageStructureMissing = 4099,
    Unreadable = 4100,  // spreadsheet without Workbook, or unreadable RTF
    Refused = 4101,     // PDF refused by flags, or presentation without content
    Encrypted = 4102,
    PdfTimeLimit = 4103,
    PdfPageFailure = 4104,
};

// Flag bits of export2Txt.
enum Flag : uint32_t {
    WritePictures = 0x01,
    WriteText = 0x10,
    WriteExtras = 0x100,  // with WriteText: headers, footers, comments, notes
    RefusePdf = 0x1000,   // refuses a PDF only when it is the whole flag word
    // With WriteText: "1.json" beside "1.txt", a JSON object with the format,
    // the result code, the document's properties ("metadata") and where each
    // of its parts (pages, sheets, slides, body, notes...) starts in "1.txt"
    // ("parts": [{kind, index, name, start}], null when they could not be kept).
    WriteRecord = 0x10000,
};

// Names returned by getFileFormate (it may also return a null pointer).
namespace format {
constexpr const char* Xls = "XLS";
constexpr const char* Doc = "DOC";
constexpr const char* Ppt = "PPT";
constexpr const char* Xlsx = "XLSX";
constexpr const char* Docx = "DOCX";
constexpr const char* Pptx = "PPTX";
constexpr const char* Pdf = "PDF";
constexpr const char* Rtf = "RTF";
constexpr const char* NotSupported = "NOT_SUPPORT";
constexpr const char* OpenError = "OPEN_ERR";
}  // namespace format

}  // namespace quillet

extern "C" {
#endif

// Converts the document at sourcePath into "1.txt" (and, with flag 0x01,
// pictures) inside outputFolder, creating that folder when its parent exists.
// With pathsAreUtf8 non-zero both paths are UTF-8; otherwise they are in the
// locale's encoding. timeLimitSeconds bounds PDF conversions between pages.
QUILLET_API uint32_t export2Txt(const char* sourcePath, const char* outputFolder, int pathsAreUtf8, uint32_t flags,
                                int timeLimitSeconds);

// Names the format of the file at path: one of the quillet::format names, or
// a null pointer for a compound file or ZIP archive that holds no known
// document. The string is static; never free it.
QUILLET_API const char* getFileFormate(const char* path, int pathIsUtf8);

// Prepares the calling thread for PDF work: 0 on success, 1 when the thread
// was already prepared, negative when the PDF engine could not be made.
QUILLET_API int quilletInitialize(void);

// Releases what quilletInitialize made for the calling thread. Returns 0.
QUILLET_API int quilletDestory(void);

#ifdef __cplusplus
// Puts the filtered text of the document at path into text, without writing
// files. text keeps its value when the document cannot be read.
QUILLET_API void quilletGetFileContent(const QString& path, QString& text);
}  // extern "C"
#endif

#endif  // QUILLET_QUILLET_H
