#include "rtf/RtfDocument.h"

#include "output/TextSink.h"
#include "platform/MemoryAdvice.h"
#include "platform/StdioFile.h"

#include <QTextCodec>

#include <algorithm>
#include <cstdio>

namespace quillet {

RtfDocument::RtfDocument(const std::string& path)
{
    if (!pathExists(path)) {
        opened_ = false;
        return;
    }
    StdioFile file(path, "rb");
    if (!file.isOpen()) {
        std::fprintf(stderr, "open file: %s error. error code[%d]\n", path.c_str(), file.openError());
        opened_ = false;
        return;
    }
    // Chunks are read straight into place; the status size only sizes the
    // buffer, the reads decide how much there is.
    const int64_t expected = file.size();
    size_t have = 0;
    data_.reserve(size_t(std::clamp<int64_t>(expected, 0, int64_t(1) << 30)) + 4096);
    platform::adviseLargeBuffer(data_.data(), data_.capacity());
    data_.resize(data_.capacity());
    for (size_t got; (got = file.read(data_.data() + have, 4096)) > 0;) {
        have += got;
        if (data_.size() - have < 4096)
            data_.resize(data_.size() * 2);
    }
    data_.resize(have);
    // Text runs near one unit per two bytes of RTF; untouched capacity costs
    // address space only, and growing by copies costs time.
    text_.reserve(data_.size() / 2 + 16);
    platform::adviseLargeBuffer(text_.data(), text_.capacity() * sizeof(char16_t));
}

void RtfDocument::streamTextTo(TextSink* sink)
{
    sink_ = sink;
    std::u16string().swap(text_);
    text_.reserve(kPieceUnits);
}

void RtfDocument::finishText()
{
    if (sink_ == nullptr)
        return;
    sink_->appendWide(text_);
    text_.clear();
}

void RtfDocument::appendNarrow(const std::string& utf8)
{
    QTextCodec* codec = QTextCodec::codecForMib(106);
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    const QString decoded = codec->toUnicode(utf8.data(), int(std::min<size_t>(utf8.size(), INT32_MAX)), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return;
    text_.append(reinterpret_cast<const char16_t*>(decoded.utf16()), size_t(decoded.size()));
    passFullPiece();
}

const char* imageExtension(int kind)
{
    static const char* const kExtensions[] = {".jpg", ".png", ".pict", ".bmp", ".emf", ".wmf"};
    return kind >= 0 && kind < 6 ? kExtensions[kind] : "";
}

}  // namespace quillet
