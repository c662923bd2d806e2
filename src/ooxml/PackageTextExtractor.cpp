#include "ooxml/PackageTextExtractor.h"

#include "ooxml/PackageProperties.h"
#include "output/DocumentRecord.h"
#include "output/TextSink.h"
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/zip/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {

PackageTextExtractor::PackageTextExtractor() = default;

PackageTextExtractor::~PackageTextExtractor() = default;

bool PackageTextExtractor::openPackage(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    package_ = std::make_unique<OpcPackage>(&archive);
    if (record_ != nullptr)
        record_->metadata() = readPackageProperties(*package_);
    if ((flags & WritePictures) != 0)
        pictureError_ = archive.extractImages(folder);
    return (flags & WriteText) != 0;
}

PackagePart* PackageTextExtractor::openMainPart(ZipArchive& archive, const std::string& folder, uint32_t flags)
{
    return openPackage(archive, folder, flags) ? existingMainPart() : nullptr;
}

void PackageTextExtractor::makeSink(const std::string& folder)
{
    sink_ = std::make_unique<TextSink>(folder);
    sink_->setRecord(record_);
}

PackagePart* PackageTextExtractor::existingMainPart()
{
    PackagePart* main = package_->mainDocumentPart();
    // A relationship to an entry that is not there names no document either.
    if (main == nullptr || !package_->archive()->hasEntry(main->path())) {
        mainPartMissing_ = true;
        return nullptr;
    }
    return main;
}

}  // namespace quillet
