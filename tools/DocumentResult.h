// What converting one document gave; travels from a worker to the parent as
// raw bytes, so it stays trivially copyable and below the pipe's atomic size.
#pragma once

#include <cstdint>
#include <type_traits>

namespace quillet::cli {

struct DocumentResult {
    uint32_t code = 0;
    char format[16] = {};  // as getFileFormate names it; empty for a null name
    uint64_t chars = 0;    // characters in 1.txt
    int64_t size = -1;     // -1 when the source could not be looked at
    int64_t mtimeSeconds = 0;
    int64_t mtimeNanoseconds = 0;
    uint64_t microseconds = 0;  // the conversion's own time, format detection included
    // With --json: the document's title and author (UTF-8, cut at a whole
    // character; empty when it keeps none) and page count (-1 when none).
    char title[512] = {};
    char author[256] = {};
    int64_t pages = -1;
};

static_assert(std::is_trivially_copyable_v<DocumentResult>);
// A reply must reach the parent in one atomic pipe write.
static_assert(sizeof(DocumentResult) <= 4096);

}  // namespace quillet::cli
