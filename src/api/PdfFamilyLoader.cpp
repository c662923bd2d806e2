// The shared library opens the drivers' plugin on the first PDF it meets:
// the engine, its fonts and its codec libraries are mapped and relocated
// only in processes that convert a PDF.
#include "api/PdfFamilyLoader.h"

#include "pdf/PdfEntry.h"

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace quillet {
namespace {

// Beside the library in its own folder, wherever the library was installed.
std::string pluginPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&loadPdfFamily), &info) == 0 || info.dli_fname == nullptr)
        return std::string();
    std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    path.erase(slash == std::string::npos ? 0 : slash + 1);
    return path + QUILLET_PDF_PLUGIN;
}

const PdfFamily* openPlugin()
{
    const std::string path = pluginPath();
    if (path.empty())
        return nullptr;
    // Never closed: engines made from it may live until the process ends.
    // Lazy binding: of the engine's many imports, a conversion calls few.
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (handle == nullptr)
        return nullptr;
    using Entry = const PdfFamily* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "quilletPdfFamily"));
    const PdfFamily* family = entry != nullptr ? entry() : nullptr;
    if (family == nullptr || family->build == nullptr || std::strcmp(family->build, QUILLET_BUILD_STAMP) != 0) {
        dlclose(handle);
        return nullptr;
    }
    return family;
}

}  // namespace

const PdfFamily* loadPdfFamily()
{
    static const PdfFamily* const family = openPlugin();
    return family;
}

}  // namespace quillet
