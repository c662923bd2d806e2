#pragma once

#include <string>

namespace quillet {

// A non-negative finite double as the 15 significant decimal digits a
// spreadsheet keeps of it, rounded half away from zero at a chosen place.
// value = 0.d1 d2 d3 ... x 10^point; zero has no digits.
class DecimalDigits {
public:
    explicit DecimalDigits(double value);

    bool isZero() const { return digits_.empty(); }
    // The place of the decimal point: digits before it (negative: zeros after it).
    int point() const { return point_; }
    void shiftPoint(int by) { point_ += by; }

    // Keeps `decimals` digits after the point (negative: rounds to tens, ...).
    void roundToDecimals(int decimals);
    void roundToSignificant(int count) { roundAt(count); }

    // The digits before the point, "" below one.
    std::string integerDigits() const;
    // Exactly `count` digits after the point.
    std::string fractionDigits(int count) const;
    // The significant digits without trailing zeros.
    const std::string& digits() const { return digits_; }

private:
    void roundAt(int keep);
    void dropTrailingZeros();

    std::string digits_;
    int point_ = 0;
};

}  // namespace quillet
