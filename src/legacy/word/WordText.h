#pragma once

#include "platform/CodePage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// Keeps what a reader of the document sees of its fields: the result
// (between U+0014 and U+0015), not the field code (from U+0013 to U+0014)
// nor the marks. A field inside another field's code shows nothing; one
// inside a result shows its own result. Text arrives in parts: feed each
// part in order, then finish.
class FieldCodeFilter {
public:
    void feed(const char16_t* units, size_t count, std::u16string& out);
    // A field code never ended belongs to a damaged field: what it hid is
    // given back, without marks.
    void finish(std::u16string& out);

private:
    void openField();
    void separateField();
    void closeField();

    std::vector<bool> inCode_;  // the open fields, innermost last: still in their code
    size_t hiding_ = 0;         // open fields in their code
    std::u16string held_;       // what the outermost hiding field hid so far
};

// The character of an 8-bit piece byte.
using platform::windows1252Character;

}  // namespace quillet
