#include "ooxml/PackageTextExtractor.h"

#include "output/TextSink.h"
#include "package/opc/OpcPackage.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {

PackageTextExtractor::PackageTextExtractor() = default;

PackageTextExtractor::~PackageTextExtractor() = default;

bool PackageTextExtractor::openPackage(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    package_ = std::make_unique<OpcPackage>(&archive);
    if ((flags & WritePictures) != 0)
        pictureError_ = archive.extractImages(folder);
    return (flags & WriteText) != 0;
}

PackagePart* PackageTextExtractor::openMainPart(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    return openPackage(archive, folder, flags) ? package_->mainDocumentPart() : nullptr;
}

}  // namespace quillet
