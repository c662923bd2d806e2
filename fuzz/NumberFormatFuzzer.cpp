// Any format code with any number: the first eight bytes are the number (any
// bit pattern, NaN and infinities included), the ninth picks the date system,
// the rest is the code. The text shown stays within a bound set by the code.
#include "numberformat/NumberFormat.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const std::string_view code(reinterpret_cast<const char*>(data + 9), size - 9);
    std::string out;
    quillet::NumberFormat(code).format(value, (data[8] & 1) != 0, out);
    // Each piece of a code shows at most a General number (17 characters) for it.
    if (out.size() > 20 * (code.size() + 1) + 1000)
        std::abort();
    return 0;
}
