#include "output/TextSink.h"

#include "output/DocumentRecord.h"
#include "output/OutputPaths.h"
#include "output/TextFileReencoding.h"
#include "platform/FileSystem.h"
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

// Units encoded at a time: their UTF-8 always fits the buffer.
constexpr size_t kEncodedUnits = 16 * 1024;
static_assert(Utf8LineEncoder::bytesFor(kEncodedUnits) <= TextSink::kBufferSize, "an encoded slice fits the buffer");

TextSink::TextSink(const std::string& folder, FileForm form)
{
    if (!folder.empty()) {
        path_ = textFilePath(folder);
        if (form == FileForm::Utf8Lines)
            encoder_ = std::make_unique<Utf8LineEncoder>();
        file_ = std::make_unique<StdioFile>(encoder_ ? textDraftPath(folder) : path_, "wb");
        error_ = file_->openError();
        pending_.reset(new char[kBufferSize]);
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
    if (size > 0)
        lastUtf8_ = utf8[size - 1];
    if (file_) {
        if (encoder_)
            returnToUtf16(encoder_->waitingHigh(), nullptr, 0);
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
    if (!file_)
        filterInto(units, count);
    else if (encoder_)
        encode(units, count);
    else
        write(units, count * sizeof(char16_t));
}

void TextSink::writeRaw(const std::string& bytes)
{
    if (!file_)
        return;
    if (encoder_)
        returnToUtf16(encoder_->waitingHigh(), nullptr, 0);
    write(bytes.data(), bytes.size());
}

void TextSink::beginPart(const char* kind, int index, const std::string& name)
{
    if (record_ != nullptr && hasFile())
        record_->markPart(kind, index, name, flushed_ + held_);
}

void TextSink::encode(const char16_t* units, size_t count)
{
    while (count > 0 && hasFile()) {
        const size_t slice = std::min(count, kEncodedUnits);
        if (held_ + Utf8LineEncoder::bytesFor(slice) > kBufferSize)
            flush();
        const char16_t waiting = encoder_->waitingHigh();
        char* end = encoder_->encode(units, slice, pending_.get() + held_);
        if (encoder_->metUnpairedSurrogate()) {
            // This slice's bytes are not kept: the units go to "1.txt" as they are.
            returnToUtf16(waiting, units, count);
            return;
        }
        held_ = static_cast<size_t>(end - pending_.get());
        units += slice;
        count -= slice;
    }
}

// Rare: the draft so far becomes "1.txt" in UTF-16LE, followed by a high
// surrogate that waited for its partner and the units not yet written.
void TextSink::returnToUtf16(char16_t waitingHigh, const char16_t* units, size_t count)
{
    encoder_.reset();
    if (record_ != nullptr)
        record_->dropParts();
    if (!hasFile())
        return;
    flush();
    file_->closeOutput();
    const std::string draft = file_->path();
    auto text = std::make_unique<StdioFile>(path_, "wb");
    if (text->isOpen()) {
        StdioFile written(draft, "rb");
        copyDraftAsUtf16(written, *text);
    }
    platform::removeFile(draft);
    error_ = text->openError();
    file_ = std::move(text);
    if (waitingHigh != 0)
        write(&waitingHigh, sizeof waitingHigh);
    write(units, count * sizeof(char16_t));
}

void TextSink::write(const void* bytes, size_t count)
{
    if (!hasFile() || count == 0)
        return;
    if (held_ + count > kBufferSize)
        flush();
    if (count >= kBufferSize) {
        writeThrough(bytes, count);
        return;
    }
    std::memcpy(pending_.get() + held_, bytes, count);
    held_ += count;
}

void TextSink::flush()
{
    if (held_ > 0)
        writeThrough(pending_.get(), held_);
    held_ = 0;
}

void TextSink::writeThrough(const void* bytes, size_t count)
{
    if (!file_->write(bytes, count)) {
        held_ = 0;
        file_->closeOutput();
        return;
    }
    flushed_ += count;
}

int TextSink::close()
{
    // A text that ends in half a pair is given back as it is.
    if (encoder_ && encoder_->waitingHigh() != 0)
        returnToUtf16(encoder_->waitingHigh(), nullptr, 0);
    if (hasFile()) {
        flush();
        file_->closeOutput();
    }
    return error_;
}

void TextSink::discard()
{
    if (file_) {
        held_ = 0;
        file_->closeAndRemove();
    }
}

}  // namespace quillet
