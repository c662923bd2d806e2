#include "rtf/RtfDocument.h"

#include "platform/StdioFile.h"

#include <QTextCodec>

#include <algorithm>
#include <iostream>

namespace quillet {

RtfDocument::RtfDocument(const std::string& path)
{
    if (!pathExists(path)) {
        opened_ = false;
        return;
    }
    StdioFile file(path, "rb");
    if (!file.isOpen()) {
        std::cerr << "open file: " << path << " error. error code[" << file.openError() << "]" << std::endl;
        opened_ = false;
        return;
    }
    // The status size only sizes the first allocation; the reads decide.
    const int64_t expected = file.size();
    if (expected > 0)
        data_.reserve(size_t(std::min<int64_t>(expected, int64_t(1) << 30)));
    uint8_t chunk[4096];
    for (size_t got; (got = file.read(chunk, sizeof chunk)) > 0;)
        data_.insert(data_.end(), chunk, chunk + got);
    // Text runs near one unit per two bytes of RTF; untouched capacity costs
    // address space only, and growing by copies costs time.
    text_.reserve(data_.size() / 2 + 16);
}

void RtfDocument::appendNarrow(const std::string& utf8)
{
    QTextCodec* codec = QTextCodec::codecForMib(106);
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    const QString decoded = codec->toUnicode(utf8.data(), int(std::min<size_t>(utf8.size(), INT32_MAX)), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return;
    text_.append(reinterpret_cast<const char16_t*>(decoded.utf16()), size_t(decoded.size()));
}

const char* imageExtension(int kind)
{
    static const char* const kExtensions[] = {".jpg", ".png", ".pict", ".bmp", ".emf", ".wmf"};
    return kind >= 0 && kind < 6 ? kExtensions[kind] : "";
}

}  // namespace quillet
