#include "plaintext/PlainText.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace quillet {
namespace {

// The dispatcher's upper size bound; a larger text would not fit a QString.
constexpr qint64 kLargestText = 0x3FFFFFFF;

QString utf16FromBytes(const char* bytes, qint64 size, bool bigEndian)
{
    const qint64 units = size / 2;
    std::vector<char16_t> text(static_cast<size_t>(units));
    for (qint64 i = 0; i < units; ++i) {
        const unsigned char a = static_cast<unsigned char>(bytes[2 * i]);
        const unsigned char b = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[static_cast<size_t>(i)] = bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
    }
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<int>(units));
}

}  // namespace

void readPlainText(const QString& path, QString& text)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kLargestText)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    const qint64 n = bytes.size();
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());

    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        text = QString::fromUtf8(bytes.constData() + 3, static_cast<int>(n - 3));
    else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        text = utf16FromBytes(bytes.constData() + 2, n - 2, true);
    else if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        text = utf16FromBytes(bytes.constData() + 2, n - 2, false);
    else
        text = QString::fromLocal8Bit(bytes);
}

}  // namespace quillet
