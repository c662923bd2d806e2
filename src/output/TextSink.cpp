#include "output/TextSink.h"

#include "output/OutputPaths.h"
#include "platform/WriteError.h"

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
// A field without a result has no separator: its end mark must clear the
// flag too, or the rest of the document would be hidden.
constexpr char16_t kFieldEnd = 0x15;

}  // namespace

TextSink::TextSink(const std::string& folder)
{
    if (!folder.empty()) {
        path_ = textFilePath(folder);
        file_ = std::make_unique<StdioFile>(path_, "wb");
        error_ = file_->openError();
        pending_.reserve(kBufferSize);
        return;
    }
    for (char16_t c : kKeptPunctuation)
        keptPunctuation_.insert(QChar(c));
}

TextSink::~TextSink()
{
    // A destructor may not throw; a failed file is removed all the same.
    try {
        close();
    } catch (const WriteError&) {
    }
}

void TextSink::filterInto(const char16_t* units, size_t count)
{
    char16_t kept[2048];
    size_t held = 0;
    for (size_t i = 0; i < count; ++i) {
        char16_t c = units[i];
        if (c >= 0x20 && c < 0x80) {
            // The common case, kept unless inside a field code.
        } else if (c < 0x20) {
            if (c == 0x0D)
                c = 0x0A;
            else if (c == 0x07)
                c = 0x20;
            if (c == kFieldBegin) {
                inFieldCode_ = 1;
                continue;
            }
            if (c == kFieldSeparator || c == kFieldEnd) {
                inFieldCode_ = 0;
                continue;
            }
            if (c != 0x0A && c != 0x20)
                continue;
        } else if (!(c >= 0x4E00 && c <= 0x9FA5) && !keptPunctuation_.contains(QChar(c))) {
            continue;
        }
        if (inFieldCode_ != 0)
            continue;
        kept[held++] = c;
        if (held == sizeof kept / sizeof kept[0]) {
            text_.append(reinterpret_cast<const QChar*>(kept), static_cast<int>(held));
            held = 0;
        }
    }
    text_.append(reinterpret_cast<const QChar*>(kept), static_cast<int>(held));
}

void TextSink::appendUtf8(const char* utf8, size_t size)
{
    if (file_) {
        write(utf8, size);
        return;
    }
    const size_t untilZero = strnlen(utf8, size);
    // QString sizes are int; a single append beyond that is split.
    size_t offset = 0;
    while (offset < untilZero) {
        const size_t slice = std::min<size_t>(untilZero - offset, 1u << 30);
        const QString decoded = QString::fromUtf8(utf8 + offset, static_cast<int>(slice));
        filterInto(reinterpret_cast<const char16_t*>(decoded.utf16()), static_cast<size_t>(decoded.size()));
        offset += slice;
    }
}

void TextSink::appendWide(const char16_t* units, size_t count)
{
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16 units are written in host order");
    if (file_)
        write(units, count * sizeof(char16_t));
    else
        filterInto(units, count);
}

void TextSink::writeRaw(const std::string& bytes)
{
    if (file_)
        write(bytes.data(), bytes.size());
}

void TextSink::write(const void* bytes, size_t count)
{
    if (!hasFile())
        return;
    if (pending_.size() + count > kBufferSize)
        flush();
    if (count >= kBufferSize) {
        writeThrough(bytes, count);
        return;
    }
    const char* p = static_cast<const char*>(bytes);
    pending_.insert(pending_.end(), p, p + count);
}

void TextSink::flush()
{
    if (!pending_.empty())
        writeThrough(pending_.data(), pending_.size());
    pending_.clear();
}

void TextSink::writeThrough(const void* bytes, size_t count)
{
    if (!file_->write(bytes, count)) {
        pending_.clear();
        file_->closeOutput();
    }
}

int TextSink::close()
{
    if (hasFile()) {
        flush();
        file_->closeOutput();
    }
    return error_;
}

void TextSink::discard()
{
    if (file_) {
        pending_.clear();
        file_->closeAndRemove();
    }
}

}  // namespace quillet
