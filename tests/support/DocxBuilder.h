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
    // The inside of w:body.
    DocxBuilder& body(const std::string& xml)
    {
        body_ = xml;
        return *this;
    }
    // The whole main part, replacing the body.
    DocxBuilder& documentXml(const std::string& xml)
    {
        document_ = xml;
        return *this;
    }
    // Records this size for the main part instead of its real one.
    DocxBuilder& declaredDocumentSize(int64_t size)
    {
        declaredSize_ = size;
        return *this;
    }
    // A header ("w:hdr"), footer ("w:ftr") or the comments part, given by
    // its inside, reached from the main part through relationship id.
    DocxBuilder& header(const std::string& id, const std::string& inside);
    DocxBuilder& footer(const std::string& id, const std::string& inside);
    DocxBuilder& comments(const std::string& id, const std::string& inside);
    // Any relationship of the main part, and any entry.
    DocxBuilder& relationship(const std::string& id, const std::string& type, const std::string& target)
    {
        relationships_.push_back({id, type, target});
        return *this;
    }
    DocxBuilder& entry(const std::string& name, const std::string& bytes)
    {
        entries_.push_back({name, bytes});
        return *this;
    }
    // The package relationship part, by default one pointing at word/document.xml.
    DocxBuilder& packageRelationships(const std::string& xml)
    {
        packageRels_ = xml;
        hasPackageRels_ = true;
        return *this;
    }
    DocxBuilder& withoutPackageRelationships()
    {
        hasPackageRels_ = false;
        return *this;
    }
    DocxBuilder& withoutMainPart()
    {
        hasMain_ = false;
        return *this;
    }

    std::string documentPart() const;
    ZipBuilder zip() const;
    void write(const std::string& path) const { zip().write(path); }

    static const char* const kNamespaces;
    static const char* const kHeaderType;
    static const char* const kFooterType;
    static const char* const kCommentsType;

private:
    struct Relationship {
        std::string id, type, target;
    };
    std::string body_;
    std::string document_;
    int64_t declaredSize_ = -1;
    std::vector<Relationship> relationships_;
    std::vector<std::pair<std::string, std::string>> entries_;
    std::string packageRels_;
    bool hasPackageRels_ = true;
    bool hasMain_ = true;
};

}  // namespace quillet::test
