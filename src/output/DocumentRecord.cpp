#include "output/DocumentRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillet {
namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

void DocumentRecord::markPart(const std::string& kind, int index, const std::string& name, uint64_t start)
{
    if (dropped_)
        return;
    parts_.push_back({kind, index, name, start});
}

std::vector<uint64_t> DocumentRecord::starts() const
{
    std::vector<uint64_t> starts;
    for (const Part& part : parts_)
        starts.push_back(part.start);
    return starts;
}

void DocumentRecord::moveStarts(const std::vector<uint64_t>& starts)
{
    for (size_t i = 0; i < parts_.size() && i < starts.size(); ++i)
        parts_[i].start = starts[i];
}

void DocumentRecord::dropParts()
{
    parts_.clear();
    dropped_ = true;
}

std::string DocumentRecord::toJson(const char* format, uint32_t code) const
{
    QJsonObject metadata;
    for (const DocumentMetadata::Entry& entry : metadata_.entries()) {
        const QString name = fromUtf8(entry.name);
        switch (entry.kind) {
        case DocumentMetadata::Kind::Text:
            metadata.insert(name, fromUtf8(entry.value));
            break;
        case DocumentMetadata::Kind::Count:
            // Counts come from 32-bit fields or page trees: a double holds them.
            metadata.insert(name, static_cast<double>(std::stoll(entry.value)));
            break;
        case DocumentMetadata::Kind::Flag:
            metadata.insert(name, entry.value == "true");
            break;
        }
    }
    QJsonObject object;
    object.insert(QStringLiteral("format"), format != nullptr ? QJsonValue(QString::fromLatin1(format)) : QJsonValue());
    object.insert(QStringLiteral("code"), static_cast<double>(code));
    object.insert(QStringLiteral("metadata"), metadata);
    if (dropped_) {
        object.insert(QStringLiteral("parts"), QJsonValue());
    } else {
        QJsonArray parts;
        for (const Part& part : parts_) {
            QJsonObject entry;
            entry.insert(QStringLiteral("kind"), fromUtf8(part.kind));
            entry.insert(QStringLiteral("index"), part.index);
            entry.insert(QStringLiteral("name"), fromUtf8(part.name));
            entry.insert(QStringLiteral("start"), static_cast<double>(part.start));
            parts.append(entry);
        }
        object.insert(QStringLiteral("parts"), parts);
    }
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return std::string(json.constData(), static_cast<size_t>(json.size())) + "\n";
}

}  // namespace quillet
