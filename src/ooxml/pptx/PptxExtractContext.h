#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class MemoryBudget;

// Shared by every handler of one presentation export.
struct PptxExtractContext {
    uint32_t flags = 0;
    // Set by each new text body; the next text written clears it and is
    // preceded by one tab, wherever in the run it comes.
    uint32_t pendingTab = 0;
    // The archive's: the slide list is charged to it.
    MemoryBudget* budget = nullptr;
    // The r:id of every p:sldId, in presentation order.
    std::vector<std::string> slideIds;
    // The r:dm of each diagram on the slide being read.
    std::vector<std::string> diagramIds;
    static constexpr size_t kMaxDiagrams = 256;
};

}  // namespace quillet
