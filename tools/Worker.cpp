#include "Worker.h"

#include "readable/ReadableText.h"

#include "OutputFolders.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::cli {

namespace {

constexpr uint32_t kMaxPathBytes = 1u << 16;

// Moves size bytes through read or write, resuming after a signal; false at
// an end of file or an error.
template <typename Transfer, typename Byte>
bool transferAll(Transfer transfer, int fd, Byte* bytes, size_t size)
{
    while (size > 0) {
        const ssize_t n = transfer(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size)
{
    return transferAll(::read, fd, static_cast<char*>(data), size);
}

bool writeAll(int fd, const void* data, size_t size)
{
    return transferAll(::write, fd, static_cast<const char*>(data), size);
}

// Test-only: with QUILLET_BATCH_TEST_HOOKS=1 in the environment, a source
// whose name ends in ".abort" aborts the worker and one ending in ".hang"
// never returns, so the tests can exercise crash and timeout handling.
void runTestHooks(const std::string& source)
{
    static const bool enabled = [] {
        const char* value = std::getenv("QUILLET_BATCH_TEST_HOOKS");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    if (!enabled)
        return;
    auto endsWith = [&source](const char* suffix) {
        const size_t n = std::strlen(suffix);
        return source.size() >= n && source.compare(source.size() - n, n, suffix) == 0;
    };
    if (endsWith(".abort"))
        std::abort();
    while (endsWith(".hang"))
        ::pause();
}

// 1.txt as `quillet text` gives the text, and the characters it holds; 0, or
// the errno when it could not be rewritten (the cut file is then removed).
int rewriteReadable(const std::string& file, bool utf16, uint64_t& chars)
{
    chars = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return 0;  // nothing was written
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const std::string text = readable::readableExport(bytes, utf16);
    chars = uint64_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (out)
        return 0;
    const int error = errno != 0 ? errno : EIO;
    std::remove(file.c_str());
    return error;
}

// 1.txt is UTF-8 after a successful conversion and for packages, otherwise
// the UTF-16LE the readers wrote.
uint64_t countCharacters(const std::string& file, bool utf8)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    uint64_t count = 0;
    uint64_t offset = 0;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t i = 0; i < n; ++i, ++offset) {
            const auto byte = static_cast<unsigned char>(buffer[i]);
            if (utf8)
                count += (byte & 0xC0) != 0x80;
            else if (offset % 2 == 1)
                count += byte < 0xDC || byte > 0xDF;  // low surrogates close a pair
        }
    }
    ::close(fd);
    return count;
}

std::string wholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// At most size - 1 bytes of utf8, not ending inside a character.
void copyCut(const std::string& utf8, char* out, size_t size)
{
    size_t length = std::min(utf8.size(), size - 1);
    while (length > 0 && length < utf8.size() && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(out, utf8.data(), length);
    out[length] = '\0';
}

// "doc.json" from the export's "1.txt" and "1.json" (which it replaces), and
// the title, author and pages for the log; 0, or the errno of writing it.
int writeDocumentJson(const std::string& folder, bool utf16, const char* format, DocumentResult& result)
{
    const std::string recordPath = folder + "/1.json";
    const std::string exported = wholeFile(folder + "/1.txt");
    readable::Document document;
    document.code = result.code;
    readable::readExportRecord(exported, utf16, wholeFile(recordPath), format, document);
    std::remove(recordPath.c_str());
    const readable::Properties properties = readable::propertiesOf(document);
    copyCut(properties.title, result.title, sizeof result.title);
    copyCut(properties.author, result.author, sizeof result.author);
    result.pages = properties.pages;

    const std::string path = folder + "/doc.json";
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr && readable::writeDocumentJson(document, file);
    if (file != nullptr)
        written = std::fclose(file) == 0 && written;
    if (written)
        return 0;
    const int error = errno != 0 ? errno : EIO;
    std::remove(path.c_str());
    return error;
}

}  // namespace

DocumentResult Worker::convert(const std::string& source, const std::string& folder, const ConversionSettings& settings,
                               int formatFd)
{
    const auto start = std::chrono::steady_clock::now();
    DocumentResult result;
    struct stat info {};
    if (::stat(source.c_str(), &info) == 0) {
        result.size = static_cast<int64_t>(info.st_size);
        result.mtimeSeconds = static_cast<int64_t>(info.st_mtim.tv_sec);
        result.mtimeNanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
    }
    const char* format = getFileFormate(source.c_str(), 0);
    if (format != nullptr)
        std::snprintf(result.format, sizeof result.format, "%s", format);
    if (formatFd >= 0 && !writeAll(formatFd, result.format, kFormatBytes))
        ::_exit(1);
    runTestHooks(source);
    // A folder left by an earlier run must not mix its pictures with these.
    OutputFolders::removeTree(folder);
    const bool json = settings.json && (settings.flags & WriteText) != 0;
    result.code = export2Txt(source.c_str(), folder.c_str(), 0, settings.flags | (json ? WriteRecord : 0u),
                             settings.timeLimitSeconds);
    const bool utf16 = readable::exportIsUtf16(result.code, format);
    if (json) {
        if (const int error = writeDocumentJson(folder, utf16, format, result))
            result.code = static_cast<uint32_t>(error);
    }
    if (!settings.clean)
        result.chars = countCharacters(folder + "/1.txt", !utf16);
    else if (const int error = rewriteReadable(folder + "/1.txt", utf16, result.chars))
        result.code = static_cast<uint32_t>(error);
    result.microseconds = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
    return result;
}

void Worker::serve(int input, int output, const ConversionSettings& settings)
{
    quilletInitialize();
    for (;;) {
        uint32_t lengths[2] = {};
        if (!readAll(input, lengths, sizeof lengths) || lengths[0] > kMaxPathBytes || lengths[1] > kMaxPathBytes)
            break;
        std::string source(lengths[0], '\0');
        std::string folder(lengths[1], '\0');
        if (!readAll(input, source.data(), source.size()) || !readAll(input, folder.data(), folder.size()))
            break;
        const DocumentResult result = convert(source, folder, settings, output);
        if (!writeAll(output, &result, sizeof result))
            break;
    }
    quilletDestory();
    // Skips the static destructors and exit handlers the parent's image registered.
    ::_exit(0);
}

bool Worker::writeRequest(int fd, const std::string& source, const std::string& folder)
{
    if (source.size() > kMaxPathBytes || folder.size() > kMaxPathBytes)
        return false;
    std::string message(sizeof(uint32_t) * 2, '\0');
    const uint32_t lengths[2] = {static_cast<uint32_t>(source.size()), static_cast<uint32_t>(folder.size())};
    std::memcpy(message.data(), lengths, sizeof lengths);
    message += source;
    message += folder;
    return writeAll(fd, message.data(), message.size());
}

}  // namespace quillet::cli
