#include "output/OutputPaths.h"

#include "platform/LocalPath.h"

namespace quillet {

std::string textFilePath(const std::string& folder)
{
    return platform::joinFolder(folder, "1.txt");
}

std::string textDraftPath(const std::string& folder)
{
    return textFilePath(folder) + "utf8.txt";
}

std::string recordFilePath(const std::string& folder)
{
    return platform::joinFolder(folder, "1.json");
}

std::string picturePath(const std::string& folder, int64_t index, const std::string& extension)
{
    return platform::joinFolder(folder, "image" + std::to_string(index) + extension);
}

}  // namespace quillet
