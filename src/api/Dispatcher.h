#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace quillet {

// Size window of the conversions: smaller files hold no document worth
// reading, larger ones are refused rather than read.
constexpr int64_t kSmallestSource = 512;
constexpr int64_t kLargestSource = 0x3FFFFFFF;

// export2Txt after argument conversion; a missing source is one that cannot
// be opened. Exceptions from readers propagate to the caller.
uint32_t convertDocument(const std::optional<std::string>& source, const std::string& folder, uint32_t flags,
                         int timeLimitSeconds);

// getFileFormate after argument conversion.
const char* fileFormatName(const std::string& path);

// quilletGetFileContent: path as the caller gave it.
void documentContent(const QString& path, QString& text);

}  // namespace quillet
