#pragma once

#include "numberformat/FormatSection.h"

#include <string_view>
#include <vector>

namespace quillet {

// Splits a format code (UTF-8) into its sections and their tokens. Anything
// not understood is kept as literal text, so every code gives some sections.
class FormatParser {
public:
    static std::vector<FormatSection> parse(std::string_view code);

    // Longer codes are cut: the output of a format stays bounded by this.
    static constexpr size_t kMaxCode = 1024;
    // Digits shown after a point, and digits of a fraction's denominator.
    static constexpr int kMaxDecimals = 30;
    static constexpr int kMaxDenominatorDigits = 4;
};

}  // namespace quillet
