#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// One property of a property-set stream, as stored: numbers, booleans, strings
// (decoded from the set's code page) and times. Other types are passed over.
struct StoredProperty {
    enum class Kind { Integer, Boolean, Text, Time };
    uint32_t id = 0;
    Kind kind = Kind::Integer;
    int64_t integer = 0;    // Integer; Boolean as 0 or 1
    std::u16string text;    // Text, without its terminating zeros
    uint64_t fileTime = 0;  // Time: 100 ns units since 1601-01-01 UTC
};

// The format ids of the summary and document summary sections.
extern const uint8_t kSummaryFormatId[16];
extern const uint8_t kDocumentSummaryFormatId[16];

// The properties of the first section of a property-set stream with this
// format id. Every count, offset and size is checked against the stream: a
// property that does not fit is left out, and a stream whose header or
// section does not fit gives none. Never throws for the bytes' sake.
std::vector<StoredProperty> readPropertySet(const uint8_t* bytes, size_t size, const uint8_t formatId[16]);

}  // namespace quillet
