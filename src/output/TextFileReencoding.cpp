#include "output/TextFileReencoding.h"

#include "output/OutputPaths.h"
#include "output/Utf8LineDecoder.h"
#include "output/Utf8LineEncoder.h"
#include "platform/FileSystem.h"
#include "platform/StdioFile.h"
#include "platform/WriteError.h"

#include <cstring>
#include <memory>

namespace quillet {
namespace {

constexpr size_t kBlockUnits = 32 * 1024;

// Puts `from` in the place of "1.txt", which a rename replaces; when that
// fails neither file stays. A folder of that name is left alone (removing
// it first would have let the rename succeed).
void replaceTextFile(const std::string& from, const std::string& textPath)
{
    if (const int error = platform::renameFile(from, textPath)) {
        platform::removeFile(from);
        platform::FileStatus status;
        if (platform::statPath(textPath, status) && !status.isDirectory)
            platform::removeFile(textPath);
        throw WriteError(error, textPath);
    }
}

// The draft's last line ended, as the encoder's finish() would have.
void endLastLine(const std::string& draft, int64_t size)
{
    if (size <= 0)
        return;
    char tail[2] = {};
    {
        StdioFile in(draft, "rb");
        if (size >= 2 && in.readAt(size - 2, tail, 2) == 2 && tail[0] == '\r' && tail[1] == '\n')
            return;
    }
    StdioFile out(draft, "ab");
    out.write("\r\n", 2);
    if (const int error = out.isOpen() ? out.close() : out.openError()) {
        platform::removeFile(draft);
        throw WriteError(error, draft);
    }
}

}  // namespace

bool reencodeTextFileToUtf8(const std::string& folder)
{
    const std::string textPath = textFilePath(folder);
    const std::string tempPath = textDraftPath(folder);

    StdioFile in(textPath, "rb");
    if (!in.isOpen())
        return false;
    StdioFile out(tempPath, "wb");
    if (!out.isOpen())
        return true;  // the text file stays as the reader wrote it

    Utf8LineEncoder encoder;
    const std::unique_ptr<char16_t[]> units(new char16_t[kBlockUnits]);
    const std::unique_ptr<char[]> bytes(new char[Utf8LineEncoder::bytesFor(kBlockUnits)]);
    auto* raw = reinterpret_cast<char*>(units.get());
    // A byte left over at a block's end waits for its partner; one left at
    // the end of the file is dropped.
    size_t held = 0;
    for (;;) {
        const size_t got = in.read(raw + held, kBlockUnits * 2 - held);
        if (got == 0 || out.writeError() != 0)
            break;
        const size_t total = held + got;
        char* end = encoder.encode(units.get(), total / 2, bytes.get());
        out.write(bytes.get(), static_cast<size_t>(end - bytes.get()));
        held = total % 2;
        if (held != 0)
            raw[0] = raw[total - 1];
    }
    char* end = encoder.finish(bytes.get());
    out.write(bytes.get(), static_cast<size_t>(end - bytes.get()));
    in.close();
    // A text file that cannot be had whole in UTF-8 is not left behind in
    // UTF-16 either: the conversion fails.
    if (const int error = out.close()) {
        platform::removeFile(tempPath);
        platform::removeFile(textPath);
        throw WriteError(error, tempPath);
    }
    replaceTextFile(tempPath, textPath);
    return true;
}

void copyDraftAsUtf16(StdioFile& draft, StdioFile& out, std::vector<uint64_t>* offsets)
{
    Utf8LineDecoder decoder;
    const std::unique_ptr<uint8_t[]> bytes(new uint8_t[kBlockUnits]);
    const std::unique_ptr<char16_t[]> units(new char16_t[Utf8LineDecoder::unitsFor(kBlockUnits)]);
    uint64_t read = 0, written = 0;  // draft bytes, units
    size_t moved = 0;
    for (;;) {
        const size_t got = draft.read(bytes.get(), kBlockUnits);
        if (got == 0 || out.writeError() != 0)
            break;
        // Decoded up to each offset the block holds, so its place in the units is known.
        for (size_t at = 0; at < got;) {
            size_t until = got;
            for (; offsets != nullptr && moved < offsets->size() && (*offsets)[moved] <= read + at; ++moved)
                (*offsets)[moved] = written * 2;
            if (offsets != nullptr && moved < offsets->size() && (*offsets)[moved] < read + got)
                until = size_t((*offsets)[moved] - read);
            char16_t* end = decoder.decode(bytes.get() + at, until - at, units.get());
            out.writeWide(units.get(), static_cast<size_t>(end - units.get()));
            written += static_cast<uint64_t>(end - units.get());
            at = until;
        }
        read += got;
    }
    for (; offsets != nullptr && moved < offsets->size(); ++moved)
        (*offsets)[moved] = written * 2;
    char16_t* end = decoder.finish(units.get());
    out.writeWide(units.get(), static_cast<size_t>(end - units.get()));
}

void finishTextFile(const std::string& folder, bool succeeded, std::vector<uint64_t>* offsets)
{
    const std::string draft = textDraftPath(folder);
    platform::FileStatus status;
    if (!platform::statPath(draft, status)) {
        if (succeeded)
            reencodeTextFileToUtf8(folder);
        return;
    }
    const std::string textPath = textFilePath(folder);
    if (succeeded) {
        endLastLine(draft, status.size);
        replaceTextFile(draft, textPath);
        return;
    }
    StdioFile in(draft, "rb");
    StdioFile out(textPath, "wb");
    const bool opened = out.isOpen();
    if (opened)
        copyDraftAsUtf16(in, out, offsets);
    in.close();
    platform::removeFile(draft);
    if (const int error = opened ? out.close() : out.openError()) {
        if (opened)
            platform::removeFile(textPath);
        throw WriteError(error, textPath);
    }
}

}  // namespace quillet
