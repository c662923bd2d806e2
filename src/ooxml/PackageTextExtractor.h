#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class DocumentRecord;
class OpcPackage;
class PackagePart;
class TextSink;
class ZipArchive;

// What the package extractors share: the package and the sink of one run,
// and the steps that open an export.
class PackageTextExtractor {
public:
    PackageTextExtractor(const PackageTextExtractor&) = delete;
    PackageTextExtractor& operator=(const PackageTextExtractor&) = delete;

    // True once a run that wanted text found no main part to read.
    bool mainPartMissing() const { return mainPartMissing_; }
    // The package's properties and where each part of its text starts go
    // into the record.
    void setRecord(DocumentRecord* record) { record_ = record; }

protected:
    PackageTextExtractor();
    ~PackageTextExtractor();

    // Reads the package's relationships and writes its pictures (flag 0x01)
    // first, keeping the error number of a picture file that could not be
    // made; true when text is asked for (flag 0x10).
    bool openPackage(ZipArchive& archive, const std::string& folder, uint32_t flags);
    // openPackage, then the main part when text is asked for; null without
    // one, or when text is not asked for.
    PackagePart* openMainPart(ZipArchive& archive, const std::string& folder, uint32_t flags);
    // The main part the package relationships name, when the archive holds
    // it; else null, and mainPartMissing() says so.
    PackagePart* existingMainPart();

    // A sink for "1.txt" that marks parts in the record.
    void makeSink(const std::string& folder);

    DocumentRecord* record_ = nullptr;
    // Released in reverse: the sink (closing "1.txt"), then the package.
    std::unique_ptr<OpcPackage> package_;
    std::unique_ptr<TextSink> sink_;
    int pictureError_ = 0;

private:
    bool mainPartMissing_ = false;
};

}  // namespace quillet
