#pragma once

#include "support/PackagePartSet.h"

#include <string>
#include <vector>

namespace quillet::test {

// Presentation packages in the shape PowerPoint writes them: slides
// "ppt/slides/slideN.xml" (rIdN, listed in p:sldIdLst in the order added
// unless reordered), each with an optional notes part and comments part.
// Any part can be replaced or dropped through parts().
class PptxBuilder {
public:
    // tree: the children of p:spTree (see shape, group and table).
    PptxBuilder& slide(const std::string& tree, const std::string& notesTree = "", const std::string& comments = "");
    // The relationship ids of p:sldIdLst, e.g. {"rId2", "rId1"}; default: all in order.
    PptxBuilder& order(const std::vector<std::string>& ids);
    PackagePartSet& parts() { return parts_; }

    std::string bytes() const;

    // A p:sp whose body holds one paragraph per entry; within an entry, "|"
    // separates runs and "^" stands for an a:br.
    static std::string shape(const std::vector<std::string>& paragraphs);
    static std::string group(const std::string& children);
    // A graphic frame holding an a:tbl, one paragraph per cell.
    static std::string table(const std::vector<std::vector<std::string>>& rows);
    static std::string comment(const std::string& text);

private:
    struct Slide {
        std::string tree, notesTree, comments;
    };
    std::vector<Slide> slides_;
    std::vector<std::string> order_;
    PackagePartSet parts_;
};

}  // namespace quillet::test
