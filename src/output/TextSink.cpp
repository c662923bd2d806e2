#include "output/TextSink.h"

#include "output/OutputPaths.h"

#include <algorithm>
#include <cstring>

namespace quillet {
namespace {

constexpr char16_t kKeptPunctuation[] = {
    0x3002, 0xFF1F, 0xFF01, 0x3010, 0x3011, 0xFF0C, 0x3001, 0xFF1B, 0xFF1A, 0x300C,
    0x300D, 0x300E, 0x300F, 0x2019, 0x201C, 0x201D, 0x2018, 0xFF08, 0xFF09, 0x3014,
    0x3015, 0x2026, 0x2013, 0xFF0E, 0x2014, 0x300A, 0x300B, 0x3008, 0x3009, 0x25CB,
};

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;

}  // namespace

TextSink::TextSink(const std::string& folder, bool keepsText) : keepsText_(keepsText || folder.empty())
{
    for (char16_t c : kKeptPunctuation)
        keptPunctuation_.insert(QChar(c));
    if (!folder.empty()) {
        path_ = textFilePath(folder);
        file_ = std::make_unique<StdioFile>(path_, "wb");
    }
}

TextSink::~TextSink()
{
    close();
}

void TextSink::filterInto(const char16_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char16_t c = units[i];
        if (c == 0x0D)
            c = 0x0A;
        else if (c == 0x07)
            c = 0x20;

        bool kept;
        if (c < 0x20)
            kept = c == 0x0A || c == kFieldBegin || c == kFieldSeparator;
        else if (c >= 0x4E00 && c <= 0x9FA5)
            kept = true;
        else if (c < 0x80)
            kept = true;
        else
            kept = keptPunctuation_.contains(QChar(c));
        if (!kept)
            continue;

        if (c == kFieldBegin)
            inFieldCode_ = 1;
        else if (c == kFieldSeparator)
            inFieldCode_ = 0;
        else if (inFieldCode_ == 0)
            text_.append(QChar(c));
    }
}

void TextSink::appendUtf8(const char* utf8, size_t size)
{
    const size_t untilZero = keepsText_ ? strnlen(utf8, size) : 0;
    // QString sizes are int; a single append beyond that is split.
    size_t offset = 0;
    while (offset < untilZero) {
        const size_t slice = std::min<size_t>(untilZero - offset, 1u << 30);
        const QString decoded = QString::fromUtf8(utf8 + offset, static_cast<int>(slice));
        filterInto(reinterpret_cast<const char16_t*>(decoded.utf16()), static_cast<size_t>(decoded.size()));
        offset += slice;
    }
    if (file_)
        file_->write(utf8, size);
}

void TextSink::appendWide(const char16_t* units, size_t count)
{
    if (keepsText_)
        filterInto(units, count);
    if (file_)
        file_->writeWide(units, count);
}

void TextSink::writeRaw(const std::string& bytes)
{
    if (file_)
        file_->write(bytes.data(), bytes.size());
}

void TextSink::close()
{
    if (file_)
        file_->close();
}

void TextSink::discard()
{
    if (file_)
        file_->closeAndRemove();
}

}  // namespace quillet
