#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class MemoryBudget;
class ListNumbering;

// What the handlers of one word-processing run share.
struct DocxExtractContext {
    uint32_t flags = 0;
    // The archive's: the references are charged to it.
    MemoryBudget* budget = nullptr;
    // Header and footer relationship ids in body order; repeats stay.
    std::vector<std::string> referenceIds;
    // The list labels of the run; null when there is no main part.
    ListNumbering* numbering = nullptr;
    // The list reference of the paragraph whose properties are being read.
    int listId = 0;
    int listLevel = 0;

    // Comments, headers and footers need both the text and the extras bit.
    bool readsExtras() const { return (flags & 0x110u) == 0x110u; }
};

}  // namespace quillet
