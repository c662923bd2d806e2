#include "output/TextFileReencoding.h"

#include "output/OutputPaths.h"
#include "platform/StdioFile.h"
#include "platform/Utf8.h"
#include "platform/FileSystem.h"

#include <vector>

namespace quillet {
namespace {

// Streams the UTF-16LE file line by line: a line ends at U+000A, which is
// consumed; a carriage return before it stays in the line.
class LineWriter {
public:
    explicit LineWriter(StdioFile& out) : out_(out) {}

    void feed(const char16_t* units, size_t count)
    {
        size_t start = 0;
        for (size_t i = 0; i < count; ++i) {
            if (units[i] == 0x0A) {
                line_.insert(line_.end(), units + start, units + i);
                flushLine();
                start = i + 1;
            }
        }
        line_.insert(line_.end(), units + start, units + count);
        if (line_.size() >= kLongLine)
            flushPart();
    }

    void finish()
    {
        if (!line_.empty() || partWritten_)
            flushLine();
    }

private:
    static constexpr size_t kLongLine = 1u << 20;

    // Keeps memory flat on text without line feeds; a pair split here would
    // be lost, so a trailing high surrogate waits for the next part.
    void flushPart()
    {
        size_t n = line_.size();
        if (isHighSurrogate(line_[n - 1]))
            --n;
        const std::string bytes = utf16ToUtf8(line_.data(), n);
        out_.write(bytes.data(), bytes.size());
        partWritten_ = true;
        line_.erase(line_.begin(), line_.begin() + static_cast<std::ptrdiff_t>(n));
    }

    void flushLine()
    {
        std::string bytes = utf16ToUtf8(line_.data(), line_.size());
        bytes += "\r\n";
        out_.write(bytes.data(), bytes.size());
        line_.clear();
        partWritten_ = false;
    }

    StdioFile& out_;
    std::vector<char16_t> line_;
    bool partWritten_ = false;
};

}  // namespace

bool reencodeTextFileToUtf8(const std::string& folder)
{
    const std::string textPath = textFilePath(folder);
    const std::string tempPath = textPath + "utf8.txt";

    StdioFile in(textPath, "rb");
    if (!in.isOpen())
        return false;
    StdioFile out(tempPath, "wb");
    if (!out.isOpen())
        return true;  // the text file stays as the reader wrote it

    LineWriter writer(out);
    std::vector<char16_t> units(32768);
    unsigned char carry = 0;
    bool hasCarry = false;
    std::vector<unsigned char> bytes(units.size() * 2);
    for (;;) {
        size_t got = 0;
        if (hasCarry) {
            bytes[0] = carry;
            got = 1;
        }
        const size_t n = in.read(bytes.data() + got, bytes.size() - got);
        got += n;
        if (n == 0 && got < 2)
            break;
        const size_t whole = got / 2;
        for (size_t i = 0; i < whole; ++i)
            units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        hasCarry = (got % 2) != 0;
        if (hasCarry)
            carry = bytes[got - 1];
        writer.feed(units.data(), whole);
        if (n == 0)
            break;
    }
    writer.finish();
    in.close();
    if (out.close() != 0) {
        platform::removeFile(tempPath);
        return true;
    }
    platform::removeFile(textPath);
    platform::renameFile(tempPath, textPath);
    return true;
}

}  // namespace quillet
