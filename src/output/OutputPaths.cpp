#include "output/OutputPaths.h"

namespace quillet {
namespace {

const char* separatorAfter(const std::string& folder)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        return "";
    for (char c : folder) {
        if (c == '\\')
            return "\\";
        if (c == '/')
            return "/";
    }
    return "/";
}

}  // namespace

std::string textFilePath(const std::string& folder)
{
    return folder + separatorAfter(folder) + "1.txt";
}

std::string picturePath(const std::string& folder, int64_t index, const std::string& extension)
{
    return folder + separatorAfter(folder) + "image" + std::to_string(index) + extension;
}

}  // namespace quillet
