#pragma once

#include "support/ZipBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

// Word-processing packages planned in code: the body, and parts that the
// main part refers to (headers, footers, comments), each with its own
// relationship. Markup is given with the usual prefixes (w, r, v, mc, wps).
class DocxBuilder {
public:
    static constexpr const char* kType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    static const std::string kHeaderType, kFooterType;

    // The inside of w:body.
    DocxBuilder& body(const std::string& xml);
    // Records this size for the main part instead of its real one.
    DocxBuilder& declaredDocumentSize(int64_t size);
    // A header ("w:hdr"), footer ("w:ftr") or the comments part, given by
    // its inside, reached from the main part through relationship id.
    DocxBuilder& header(const std::string& id, const std::string& inside) { return story("header", "hdr", id, inside); }
    DocxBuilder& footer(const std::string& id, const std::string& inside) { return story("footer", "ftr", id, inside); }
    DocxBuilder& comments(const std::string& id, const std::string& inside);
    // Any relationship of the main part, and any entry.
    DocxBuilder& relationship(const std::string& id, const std::string& type, const std::string& target);
    DocxBuilder& entry(const std::string& name, const std::string& bytes);
    // The package relationship part, by default one pointing at word/document.xml.
    DocxBuilder& packageRelationships(const std::string& xml);
    DocxBuilder& withoutPackageRelationships();

    std::string documentPart() const;
    ZipBuilder zip() const;
    void write(const std::string& path) const { zip().write(path); }

private:
    DocxBuilder& story(const std::string& kind, const char* root, const std::string& id, const std::string& inside);

    std::string body_, relationships_, packageRels_;
    int64_t declaredSize_ = -1;
    std::vector<std::pair<std::string, std::string>> entries_;
    bool hasPackageRels_ = true;
};

}  // namespace quillet::test
