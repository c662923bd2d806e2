#include "plaintext/PlainText.h"

#include "platform/ByteOrder.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

namespace quillet {
namespace {

// The dispatcher's upper size bound; a larger text would not fit a QString.
constexpr qint64 kLargestText = 0x3FFFFFFF;

QString utf16FromBytes(const char* bytes, qint64 size, bool bigEndian)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes);
    const int units = static_cast<int>(size / 2);
    QString text(units, Qt::Uninitialized);
    QChar* out = text.data();
    for (int i = 0; i < units; ++i)
        out[i] = QChar(bigEndian ? loadU16BigEndian(p + 2 * i) : loadU16(p + 2 * i));
    return text;
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
        // All n bytes: the QByteArray overload would stop at the first NUL.
        text = QString::fromLocal8Bit(bytes.constData(), static_cast<int>(n));
}

}  // namespace quillet
