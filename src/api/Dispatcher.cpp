#include "api/Dispatcher.h"

#include "api/EngineRegistry.h"
#include "api/PdfFamilyLoader.h"
#include "api/Signature.h"
#include "legacy/OleEntry.h"
#include "ooxml/PackageEntry.h"
#include "output/DocumentRecord.h"
#include "output/OutputPaths.h"
#include "output/TextFileReencoding.h"
#include "pdf/PdfEntry.h"
#include "plaintext/PlainText.h"
#include "platform/FileSystem.h"
#include "platform/LocalPath.h"
#include "platform/StdioFile.h"
#include "platform/WriteError.h"
#include "rtf/RtfEntry.h"

#include <quillet/quillet.h>

#include <cerrno>
#include <vector>

namespace quillet {
namespace {

bool withinSizeWindow(int64_t size)
{
    return size >= kSmallestSource && size <= kLargestSource;
}

bool ensureOutputFolder(const std::string& folder)
{
    return pathExists(folder) || makeFolder(folder);
}

// A folder path that names a file: no output can be made in it.
bool isFolder(const std::string& folder)
{
    platform::FileStatus status;
    return platform::statPath(folder, status) && status.isDirectory;
}

// "1.json": a failure to write it counts only where the conversion succeeded.
uint32_t writeRecord(const std::string& folder, const DocumentRecord& record, const char* format, uint32_t code)
{
    const std::string path = recordFilePath(folder);
    StdioFile file(path, "wb");
    const std::string json = record.toJson(format, code);
    int error = file.openError();
    if (error == 0) {
        file.write(json.data(), json.size());
        error = file.close();
    }
    if (error != 0) {
        platform::removeFile(path);
        if (code <= SharedStringsOnly)
            return static_cast<uint32_t>(error);
    }
    return code;
}

uint32_t convertInto(const std::optional<std::string>& source, const std::string& folder, uint32_t flags,
                     int timeLimitSeconds, DocumentRecord* record)
{
    if (!ensureOutputFolder(folder))
        return OutputFolderMissing;
    if ((flags & (WriteText | WritePictures)) != 0 && !isFolder(folder))
        return ENOTDIR;
    if (!source)
        return EINVAL;

    StdioFile file(*source, "rb");
    if (!file.isOpen())
        return static_cast<uint32_t>(file.openError());
    if (!withinSizeWindow(file.size()))
        return Unsupported;

    const SourceFormat format = readSignature(file);
    // A draft left by a run that never finished must not pass for this one's.
    if (format != SourceFormat::Zip && format != SourceFormat::Unknown)
        platform::removeFile(textDraftPath(folder));

    uint32_t code = Unsupported;
    switch (format) {
    case SourceFormat::Compound:
        code = exportOleDocument(*source, folder, flags, record);
        break;
    case SourceFormat::Zip:
        // Package readers write UTF-8 themselves.
        return exportPackageDocument(*source, folder, flags, record);
    case SourceFormat::Pdf:
        if (flags == RefusePdf)
            return Refused;
        if (const PdfFamily* pdf = loadPdfFamily())
            code = EngineRegistry::instance().withCurrentEngine([&](PdfEngine* engine) {
                return pdf->exportDocument(*source, folder, flags, timeLimitSeconds, engine, record);
            });
        else
            code = ConversionFailed;
        break;
    case SourceFormat::Rtf:
        code = exportRtfDocument(*source, folder, flags, record);
        break;
    case SourceFormat::Unknown:
        return Unsupported;
    }

    // The text is UTF-8 only after a successful conversion that asked for it;
    // an output error counts only where the reader succeeded. Parts move with
    // a draft given back as UTF-16; a text re-encoded whole keeps none.
    std::vector<uint64_t> starts;
    if (record != nullptr) {
        if (code == Success && !pathExists(textDraftPath(folder)))
            record->dropParts();
        starts = record->starts();
    }
    try {
        finishTextFile(folder, code == Success && (flags & WriteText) != 0, record != nullptr ? &starts : nullptr);
        if (record != nullptr)
            record->moveStarts(starts);
    } catch (const WriteError&) {
        if (code > SharedStringsOnly)
            return code;
        throw;
    }
    return code;
}

}  // namespace

uint32_t convertDocument(const std::optional<std::string>& source, const std::string& folder, uint32_t flags,
                         int timeLimitSeconds)
{
    // The record is made only when asked for: the text path reads no properties.
    std::unique_ptr<DocumentRecord> record;
    if ((flags & (WriteText | WriteRecord)) == (WriteText | WriteRecord))
        record = std::make_unique<DocumentRecord>();
    if (!record)
        return convertInto(source, folder, flags, timeLimitSeconds, nullptr);
    uint32_t code = ConversionFailed;
    // The properties read before a failure are still the document's.
    try {
        code = convertInto(source, folder, flags, timeLimitSeconds, record.get());
    } catch (const WriteError& failure) {
        code = static_cast<uint32_t>(failure.error());
    } catch (...) {
        record->dropParts();
    }
    if (code == OutputFolderMissing || code == ENOTDIR || code == EINVAL || code == Unsupported) {
        // No record of another run's may pass for this one's.
        platform::removeFile(recordFilePath(folder));
        return code;
    }
    const char* format = record->format();
    if (format == nullptr && source)
        format = fileFormatName(*source);
    return writeRecord(folder, *record, format, code);
}

const char* fileFormatName(const std::string& path)
{
    StdioFile file(path, "rb");
    if (!file.isOpen())
        return format::OpenError;
    switch (readSignature(file)) {
    case SourceFormat::Compound:
        return oleFormatName(path);
    case SourceFormat::Zip:
        return packageFormatName(path);
    case SourceFormat::Pdf:
        return format::Pdf;
    case SourceFormat::Rtf:
        return format::Rtf;
    case SourceFormat::Unknown:
        break;
    }
    return format::NotSupported;
}

void documentContent(const QString& path, QString& text)
{
    if (path.right(4).toLower() == QLatin1String(".txt")) {
        QString native = path;
        native.replace(QLatin1Char('\\'), QLatin1Char('/'));
        readPlainText(native, text);
        return;
    }
    const QByteArray local = path.toLocal8Bit();
    const std::string native =
        platform::toNativePath(std::string(local.constData(), static_cast<size_t>(local.size())));
    StdioFile file(native, "rb");
    if (!file.isOpen() || !withinSizeWindow(file.size()))
        return;
    switch (readSignature(file)) {
    case SourceFormat::Compound:
        oleDocumentContent(native, text);
        break;
    case SourceFormat::Zip:
        packageDocumentContent(native, text);
        break;
    case SourceFormat::Pdf:
        if (const PdfFamily* pdf = loadPdfFamily())
            EngineRegistry::instance().withCurrentEngine(
                [&](PdfEngine* engine) { pdf->documentContent(native, text, 30, engine); });
        break;
    case SourceFormat::Rtf:
    case SourceFormat::Unknown:
        break;
    }
}

}  // namespace quillet
