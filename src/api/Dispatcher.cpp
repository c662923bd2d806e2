#include "api/Dispatcher.h"

#include "api/EngineRegistry.h"
#include "api/Signature.h"
#include "legacy/OleEntry.h"
#include "ooxml/PackageEntry.h"
#include "output/TextFileReencoding.h"
#include "pdf/PdfEntry.h"
#include "plaintext/PlainText.h"
#include "platform/FileSystem.h"
#include "platform/LocalPath.h"
#include "platform/StdioFile.h"
#include "rtf/RtfEntry.h"

#include <quillet/quillet.h>

#include <cerrno>

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

}  // namespace

uint32_t convertDocument(const std::optional<std::string>& source, const std::string& folder, uint32_t flags,
                         int timeLimitSeconds)
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

    uint32_t code = Unsupported;
    switch (readSignature(file)) {
    case SourceFormat::Compound:
        code = exportOleDocument(*source, folder, flags);
        break;
    case SourceFormat::Zip:
        // Package readers write UTF-8 themselves.
        return exportPackageDocument(*source, folder, flags);
    case SourceFormat::Pdf:
        if (flags == RefusePdf)
            return Refused;
        code = EngineRegistry::instance().withCurrentEngine(
            [&](PdfEngine* engine) { return exportPdfDocument(*source, folder, flags, timeLimitSeconds, engine); });
        break;
    case SourceFormat::Rtf:
        code = exportRtfDocument(*source, folder, flags);
        break;
    case SourceFormat::Unknown:
        return Unsupported;
    }

    if (code == Success && (flags & WriteText) != 0)
        reencodeTextFileToUtf8(folder);
    return code;
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
        EngineRegistry::instance().withCurrentEngine(
            [&](PdfEngine* engine) { pdfDocumentContent(native, text, 30, engine); });
        break;
    case SourceFormat::Rtf:
    case SourceFormat::Unknown:
        break;
    }
}

}  // namespace quillet
