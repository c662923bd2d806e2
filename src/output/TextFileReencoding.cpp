#include "output/TextFileReencoding.h"

#include "output/OutputPaths.h"
#include "platform/ByteOrder.h"
#include "platform/FileSystem.h"
#include "platform/StdioFile.h"
#include "platform/Utf8.h"
#include "platform/WriteError.h"

#include <emmintrin.h>
#include <memory>

namespace quillet {
namespace {

// UTF-16LE in, UTF-8 out, one large block at a time: a line ends at U+000A,
// which becomes CR LF; a carriage return before it stays in the line. A
// pair split between blocks waits for its second half; a byte left over at
// a block's end waits for its partner.
class Utf8LineEncoder {
public:
    static constexpr size_t kBlockUnits = 32 * 1024;

    explicit Utf8LineEncoder(StdioFile& out) : out_(out), bytes_(new char[kBlockUnits * 3 + 8]) {}

    void feed(const uint8_t* bytes, size_t count)
    {
        char* end = bytes_.get();
        size_t i = 0;
        if (hasCarry_ && count > 0) {
            const uint8_t pair[2] = {carry_, bytes[0]};
            end = put(loadU16(pair), end);
            hasCarry_ = false;
            i = 1;
        }
        while (i + 1 < count) {
            // Eight units at a time while they are ASCII other than a line
            // feed, the common case; the first other unit goes the long way.
            if (high_ == 0 && i + 16 <= count) {
                const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
                const __m128i wide = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80)));
                const __m128i special =
                    _mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(0x0A)),
                                 _mm_xor_si128(_mm_cmpeq_epi16(wide, _mm_setzero_si128()), _mm_set1_epi16(-1)));
                const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
                // The output has room for three bytes a unit, so all eight may be stored.
                _mm_storel_epi64(reinterpret_cast<__m128i*>(end), _mm_packus_epi16(units, units));
                const size_t plain = mask == 0 ? 8 : static_cast<size_t>(__builtin_ctz(mask)) / 2;
                end += plain;
                i += 2 * plain;
                if (plain > 0)
                    lineOpen_ = true;
                if (plain == 8)
                    continue;
            }
            end = put(loadU16(bytes + i), end);
            i += 2;
        }
        if (i < count) {
            carry_ = bytes[i];
            hasCarry_ = true;
        }
        out_.write(bytes_.get(), static_cast<size_t>(end - bytes_.get()));
    }

    void finish()
    {
        char* end = bytes_.get();
        if (high_ != 0)
            end = putUtf8(0xFFFD, end);
        if (lineOpen_) {
            *end++ = '\r';
            *end++ = '\n';
        }
        out_.write(bytes_.get(), static_cast<size_t>(end - bytes_.get()));
    }

private:
    char* put(char16_t unit, char* end)
    {
        if (high_ != 0) {
            const char16_t high = high_;
            high_ = 0;
            if (isLowSurrogate(unit))
                return putUtf8(combineSurrogates(high, unit), end);
            end = putUtf8(0xFFFD, end);
        }
        if (unit == 0x0A) {
            lineOpen_ = false;
            *end++ = '\r';
            *end++ = '\n';
            return end;
        }
        lineOpen_ = true;
        if (unit < 0x80) {
            *end++ = static_cast<char>(unit);
            return end;
        }
        if (isHighSurrogate(unit)) {
            high_ = unit;
            return end;
        }
        return putUtf8(unit, end);
    }

    StdioFile& out_;
    std::unique_ptr<char[]> bytes_;
    char16_t high_ = 0;
    bool lineOpen_ = false;
    uint8_t carry_ = 0;
    bool hasCarry_ = false;
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

    Utf8LineEncoder encoder(out);
    const size_t blockBytes = Utf8LineEncoder::kBlockUnits * 2;
    const std::unique_ptr<uint8_t[]> block(new uint8_t[blockBytes]);
    for (;;) {
        const size_t got = in.read(block.get(), blockBytes);
        if (got == 0 || out.writeError() != 0)
            break;
        encoder.feed(block.get(), got);
    }
    encoder.finish();
    in.close();
    // A text file that cannot be had whole in UTF-8 is not left behind in
    // UTF-16 either: the conversion fails.
    if (const int error = out.close()) {
        platform::removeFile(tempPath);
        platform::removeFile(textPath);
        throw WriteError(error, tempPath);
    }
    platform::removeFile(textPath);
    if (const int error = platform::renameFile(tempPath, textPath)) {
        platform::removeFile(tempPath);
        throw WriteError(error, textPath);
    }
    return true;
}

}  // namespace quillet
