// The library boundary: converts arguments, catches everything, dispatches.
#include <quillet/quillet.h>

#include "api/Dispatcher.h"
#include "api/EngineRegistry.h"
#include "platform/LocalPath.h"
#include "platform/WriteError.h"

#include <optional>
#include <string>

using namespace quillet;

namespace {

std::string callerPath(const char* path, int isUtf8)
{
    std::string converted = isUtf8 != 0 ? platform::utf8ToLocalPath(path) : std::string(path);
    return platform::toNativePath(std::move(converted));
}

}  // namespace

extern "C" {

QUILLET_API uint32_t export2Txt(const char* sourcePath, const char* outputFolder, int pathsAreUtf8, uint32_t flags,
                                int timeLimitSeconds)
{
    try {
        if (outputFolder == nullptr)
            return OutputFolderMissing;
        std::optional<std::string> source;
        if (sourcePath != nullptr)
            source = callerPath(sourcePath, pathsAreUtf8);
        return convertDocument(source, callerPath(outputFolder, pathsAreUtf8), flags, timeLimitSeconds);
    } catch (const WriteError& failure) {
        return static_cast<uint32_t>(failure.error());
    } catch (...) {
        return ConversionFailed;
    }
}

QUILLET_API const char* getFileFormate(const char* path, int pathIsUtf8)
{
    try {
        if (path == nullptr)
            return format::OpenError;
        return fileFormatName(callerPath(path, pathIsUtf8));
    } catch (...) {
        return nullptr;
    }
}

QUILLET_API void quilletGetFileContent(const QString& path, QString& text)
{
    try {
        QString result = text;
        documentContent(path, result);
        text.swap(result);
    } catch (...) {
        // text keeps what it held
    }
}

QUILLET_API int quilletInitialize(void)
{
    try {
        return EngineRegistry::instance().initializeCurrentThread();
    } catch (...) {
        return -3;
    }
}

QUILLET_API int quilletDestory(void)
{
    try {
        return EngineRegistry::instance().destroyCurrentThread();
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
