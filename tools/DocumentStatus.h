// The status word of a results.jsonl record.
#pragma once

#include "DocumentResult.h"

namespace quillet::cli {

// ok, shared-strings-only, encrypted, unsupported, damaged, empty or error.
// crash and timeout are decided by the worker pool, not by a result.
const char* documentStatus(const DocumentResult& result, uint32_t flags);

}  // namespace quillet::cli
