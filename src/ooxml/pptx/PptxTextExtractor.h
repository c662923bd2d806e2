#pragma once

#include "ooxml/PackageTextExtractor.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class PackagePart;
class ZipArchive;
struct PptxExtractContext;

// The text of a presentation package, slide by slide in show order, each
// slide followed by "\n\t"; with flags 0x110 each slide's notes and comments
// follow its own text. One extractor serves one export.
class PptxTextExtractor : public PackageTextExtractor {
public:
    PptxTextExtractor();
    ~PptxTextExtractor();

    // Flag 0x01 writes the pictures first; without 0x10 nothing else happens.
    // 0; 4099 when text is asked for and there is no presentation part with
    // relationships to read; or the error number of a picture or text file
    // that could not be made.
    uint32_t exportText(ZipArchive& archive, const std::string& folder, uint32_t flags);

    // Slide parts of this uncompressed size or more are passed over.
    static constexpr uint64_t kSlideBound = 0xA00000;

private:
    void readSlide(PackagePart& slide, int number);
    // After the slide's own text: the text of the diagrams it shows.
    void readDiagrams(PackagePart& slide);

    // Released before the sink and the package.
    std::unique_ptr<PptxExtractContext> context_;
};

}  // namespace quillet
