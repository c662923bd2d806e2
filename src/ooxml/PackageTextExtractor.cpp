#include "ooxml/PackageTextExtractor.h"

#include "output/TextSink.h"
#include "package/OxfrPackage.h"
#include "package/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {

PackageTextExtractor::PackageTextExtractor() = default;

PackageTextExtractor::~PackageTextExtractor() = default;

bool PackageTextExtractor::openPackage(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    package_ = std::make_unique<OxfrPackage>(&archive);
    if ((flags & WritePictures) != 0)
        archive.extractImages(folder);
    return (flags & WriteText) != 0;
}

OxfrPart* PackageTextExtractor::openMainPart(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    return openPackage(archive, folder, flags) ? package_->mainDocumentPart() : nullptr;
}

}  // namespace quillet
