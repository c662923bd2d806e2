#include "package/opc/RelationshipPaths.h"

#include <vector>

namespace quillet {
namespace {

std::string withoutLeadingSlash(const std::string& path)
{
    return !path.empty() && path.front() == '/' ? path.substr(1) : path;
}

// Applies "." and ".." segments; a ".." above the top is dropped.
std::string normalised(const std::string& path)
{
    std::vector<std::string> segments;
    size_t from = 0;
    for (;;) {
        const size_t slash = path.find('/', from);
        const std::string segment = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (segment != ".") {
            segments.push_back(segment);
        }
        if (slash == std::string::npos)
            break;
        from = slash + 1;
    }
    std::string result;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i != 0)
            result += '/';
        result += segments[i];
    }
    return result;
}

}  // namespace

std::string relationshipPartPath(const std::string& sourcePath)
{
    const std::string source = withoutLeadingSlash(sourcePath);
    if (source.empty())
        return "_rels/.rels";
    const size_t slash = source.rfind('/');
    // A part at the top of the package has its own relationships too.
    if (slash == std::string::npos)
        return "_rels/" + source + ".rels";
    return source.substr(0, slash) + "/_rels" + source.substr(slash) + ".rels";
}

std::string resolveTarget(const std::string& sourcePath, const std::string& target)
{
    if (!target.empty() && target.front() == '/')
        return normalised(target.substr(1));
    const std::string source = withoutLeadingSlash(sourcePath);
    const size_t slash = source.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : source.substr(0, slash + 1);
    return normalised(folder + target);
}

}  // namespace quillet
