#include "platform/CodePage.h"

#include <QString>
#include <QTextCodec>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace quillet::platform {
namespace {

constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QTextCodec* lookupCodec(unsigned codePage)
{
    if (codePage == 0)
        codePage = 1252;
    // Windows page numbers are 16-bit; Qt remembers every name it was asked
    // for, so documents must not make it look up arbitrary ones.
    if (codePage > 0xFFFF)
        return nullptr;
    if (codePage == 65001)
        return QTextCodec::codecForMib(106);
    if (codePage == 1200)
        return QTextCodec::codecForName("UTF-16LE");
    if (codePage == 1201)
        return QTextCodec::codecForName("UTF-16BE");
    const QByteArray number = QByteArray::number(codePage);
    for (const char* prefix : {"windows-", "CP", "IBM"}) {
        if (QTextCodec* codec = QTextCodec::codecForName(QByteArray(prefix) + number))
            return codec;
    }
    return nullptr;
}

QTextCodec* codecFor(unsigned codePage)
{
    // Qt keeps its own thread-safe cache of codecs by name.
    return lookupCodec(codePage);
}

}  // namespace

char16_t windows1252Character(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kWindows1252High[byte - 0x80];
    return byte;
}

bool isCodePageKnown(unsigned codePage)
{
    return codecFor(codePage) != nullptr;
}

std::u16string codePageToUtf16(unsigned codePage, const char* bytes, size_t count)
{
    return CodePageDecoder(codePage).decode(bytes, count);
}

CodePageDecoder::CodePageDecoder(unsigned codePage) : codePage_(codePage)
{
    QTextCodec* codec = codecFor(codePage);
    if (codec == nullptr) {
        codec = codecFor(1252);
        codePage = 1252;
    }
    codec_ = codec;
    const bool windowsSingleByte = codePage == 0 || codePage == 874 || (codePage >= 1250 && codePage <= 1258);
    if (codec_ == nullptr || !windowsSingleByte)
        return;
    for (int byte = 0; byte < 256; ++byte) {
        const char one = char(byte);
        const QString unit = codec_->toUnicode(&one, 1);
        if (unit.size() != 1)
            return;
        table_[byte] = char16_t(unit.at(0).unicode());
    }
    singleByte_ = true;
}

std::u16string CodePageDecoder::decode(const char* bytes, size_t count) const
{
    if (count == 0 || codec_ == nullptr)
        return {};
    std::u16string out;
    if (singleByte_) {
        out.resize(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = table_[uint8_t(bytes[i])];
        return out;
    }
    // QTextCodec takes int lengths; decode huge inputs in slices that end on
    // a byte the caller gave, which only matters for multi-byte pages.
    size_t offset = 0;
    QTextCodec::ConverterState state;
    while (offset < count) {
        const size_t slice = std::min<size_t>(count - offset, INT_MAX / 2);
        const QString text = codec_->toUnicode(bytes + offset, static_cast<int>(slice), &state);
        out.append(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
        offset += slice;
    }
    return out;
}

}  // namespace quillet::platform
