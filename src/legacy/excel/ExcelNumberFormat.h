#pragma once

#include <string>

namespace quillet {

// A cell number as the workbook text shows it: whole numbers (within double
// epsilon) without decimals, others with six, every digit of huge ones, and
// "nan", "inf", "-inf".
void appendCellNumber(double value, std::u16string& out);
std::u16string formatCellNumber(double value);

}  // namespace quillet
