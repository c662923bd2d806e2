#include "numberformat/DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace quillet {

namespace {

// The digits of a value that a power of ten up to 10^8 turns into a whole
// number below 10^15, the most a cell holds: that number, and the power.
// Such a product lies within one rounding (2^-53) of the value times the power,
// far nearer than half a step of 15 significant digits, so its digits are the
// ones "%.14e" gives, without the cost of a correctly rounded conversion.
bool scaledWholeNumber(double value, uint64_t& whole, int& power)
{
    double scale = 1;
    for (power = 0; power <= 8; ++power, scale *= 10) {
        const double scaled = value * scale;
        if (!(scaled < 1e15))
            return false;
        if (scaled == std::floor(scaled) && scaled >= 1) {
            whole = static_cast<uint64_t>(scaled);
            return true;
        }
    }
    return false;
}

}  // namespace

DecimalDigits::DecimalDigits(double value)
{
    if (!(value > 0))
        return;
    uint64_t whole = 0;
    int power = 0;
    if (scaledWholeNumber(value, whole, power)) {
        char text[24];
        const std::to_chars_result end = std::to_chars(text, text + sizeof text, whole);
        digits_.assign(text, end.ptr);
        point_ = static_cast<int>(digits_.size()) - power;
        dropTrailingZeros();
        return;
    }
    // "d.dddddddddddddde+XX", as printf's "%.14e" writes it.
    char text[32];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific, 14);
    *end.ptr = '\0';
    digits_ += text[0];
    digits_.append(text + 2, 14);
    point_ = std::atoi(text + 17) + 1;
    dropTrailingZeros();
}

void DecimalDigits::roundToDecimals(int decimals)
{
    // Far below the first digit the value is zero whatever the digits.
    if (decimals < -point_ - 1) {
        digits_.clear();
        return;
    }
    roundAt(point_ + decimals);
}

void DecimalDigits::roundAt(int keep)
{
    if (keep < 0 || size_t(keep) >= digits_.size()) {
        if (keep < 0)
            digits_.clear();
        return;
    }
    const bool up = digits_[size_t(keep)] >= '5';
    digits_.resize(size_t(keep));
    if (up) {
        int at = keep - 1;
        while (at >= 0 && digits_[size_t(at)] == '9') {
            digits_[size_t(at)] = '0';
            --at;
        }
        if (at >= 0) {
            ++digits_[size_t(at)];
        } else {
            digits_.insert(digits_.begin(), '1');
            ++point_;
        }
    }
    dropTrailingZeros();
}

void DecimalDigits::dropTrailingZeros()
{
    const size_t last = digits_.find_last_not_of('0');
    digits_.resize(last == std::string::npos ? 0 : last + 1);
}

std::string DecimalDigits::integerDigits() const
{
    if (digits_.empty() || point_ <= 0)
        return {};
    std::string out = digits_.substr(0, size_t(point_));
    out.resize(size_t(point_), '0');
    return out;
}

std::string DecimalDigits::fractionDigits(int count) const
{
    std::string out;
    out.reserve(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        const int at = point_ + i;
        out += at >= 0 && size_t(at) < digits_.size() ? digits_[size_t(at)] : '0';
    }
    return out;
}

}  // namespace quillet
