#pragma once

#include "ooxml/PackageTextExtractor.h"
#include "ooxml/docx/DocxExtractContext.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class ListNumbering;
class PackagePart;
class ZipArchive;

// One run over a word-processing package: the body, then (with the extras
// flag) the comments, the footnotes, the endnotes, then the headers and
// footers in the order the body refers to them.
class DocxTextExtractor : public PackageTextExtractor {
public:
    DocxTextExtractor();
    ~DocxTextExtractor();

    // Pictures (flag 0x01) first, then "1.txt" (flag 0x10). 0, or 4099 when
    // text is asked for and the package names no main part that exists.
    uint32_t exportText(ZipArchive* archive, const std::string& folder, uint32_t flags);
    // The filtered body text; text is left alone when there is no main part.
    void readText(ZipArchive* archive, QString& text);

    // Main parts of this many bytes or more are not read.
    static constexpr uint64_t kMaxBodyBytes = 52428800;
    // Header and footer parts read, counted by their declared sizes, stop
    // adding up here, however often the body refers to them.
    static constexpr uint64_t kMaxStoryBytes = 4 * kMaxBodyBytes;

private:
    void documentSteps(PackagePart& main, bool exportPath);
    void readHeadersAndFooters(PackagePart& main);

    // The list labels of the run: numbering definitions and counters.
    std::unique_ptr<ListNumbering> numbering_;
    // Released first: nothing else refers to the context once the handlers are gone.
    DocxExtractContext context_;
};

}  // namespace quillet
