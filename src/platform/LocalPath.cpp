#include "platform/LocalPath.h"

#include <QString>
#include <QTextCodec>

#include <algorithm>

namespace quillet::platform {

std::string utf8ToLocalPath(const std::string& utf8)
{
    QTextCodec* codec = QTextCodec::codecForLocale();
    if (codec == nullptr || codec->mibEnum() == 106)  // 106: UTF-8
        return utf8;
    const QByteArray local = QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())).toLocal8Bit();
    return std::string(local.constData(), static_cast<size_t>(local.size()));
}

std::string toNativePath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string joinFolder(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        return folder + name;
    const size_t separator = folder.find_first_of("/\\");
    return folder + (separator == std::string::npos ? '/' : folder[separator]) + name;
}

}  // namespace quillet::platform
