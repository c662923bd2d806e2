// Whole-library fuzzing: bytes written to a file and run through the three
// document calls, as a caller would; the export with its record, whose part
// starts must run forward within the text.
#include "FuzzScratch.h"

#include <quillet/quillet.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready())
        return 0;
    const std::string source = scratch.write("input", data, size);
    const std::string out = scratch.file("out");
    export2Txt(source.c_str(), out.c_str(), 0, 0x111 | quillet::WriteRecord, 5);
    QFile record(QString::fromStdString(out + "/1.json"));
    if (record.open(QIODevice::ReadOnly)) {
        const QJsonDocument json = QJsonDocument::fromJson(record.readAll());
        if (!json.isObject())
            std::abort();
        const double size = double(QFileInfo(QString::fromStdString(out + "/1.txt")).size());
        double last = 0;
        for (const QJsonValue part : json.object().value(QStringLiteral("parts")).toArray()) {
            const double start = part.toObject().value(QStringLiteral("start")).toDouble(-1);
            if (start < last || start > size)
                std::abort();
            last = start;
        }
    }
    getFileFormate(source.c_str(), 0);
    QString text;
    quilletGetFileContent(QString::fromStdString(source), text);
    return 0;
}
