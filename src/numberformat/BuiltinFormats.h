#pragma once

#include <string_view>

namespace quillet {

// The code of a format that workbooks name by number alone (0 to 49), as
// Excel shows it in the United States; "General" for numbers without one.
std::string_view builtinFormatCode(unsigned id);

}  // namespace quillet
