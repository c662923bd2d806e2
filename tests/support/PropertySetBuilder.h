#pragma once

#include "compound/PropertySet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

// Writes a property-set stream of one section, as Office writes
// "\005SummaryInformation": header, section entry, then the section's
// id/offset table and values, each value padded to four bytes.
class PropertySetBuilder {
public:
    explicit PropertySetBuilder(const uint8_t* formatId = kSummaryFormatId) : formatId_(formatId) {}

    PropertySetBuilder& codePage(int16_t page) { return value(1, 0x02, bytes16(uint16_t(page))); }
    PropertySetBuilder& ansi(uint32_t id, const std::string& bytes)
    {
        const std::string text = bytes + '\0';
        return value(id, 0x1E, bytes32(uint32_t(text.size())) + text);
    }
    PropertySetBuilder& wide(uint32_t id, const std::u16string& text)
    {
        std::string out = bytes32(uint32_t(text.size() + 1));
        for (char16_t c : text + u'\0')
            out += bytes16(uint16_t(c));
        return value(id, 0x1F, out);
    }
    PropertySetBuilder& int32(uint32_t id, int32_t number) { return value(id, 0x03, bytes32(uint32_t(number))); }
    PropertySetBuilder& fileTime(uint32_t id, uint64_t time)
    {
        return value(id, 0x40, bytes32(uint32_t(time)) + bytes32(uint32_t(time >> 32)));
    }
    // Any type and value bytes.
    PropertySetBuilder& value(uint32_t id, uint16_t type, const std::string& bytes)
    {
        std::string stored = bytes16(type) + std::string(2, '\0') + bytes;
        stored.resize((stored.size() + 3) / 4 * 4, '\0');
        values_.push_back({id, stored});
        return *this;
    }

    std::string build() const
    {
        std::string table, data;
        const size_t tableEnd = 8 + 8 * values_.size();
        for (const auto& [id, stored] : values_) {
            table += bytes32(id) + bytes32(uint32_t(tableEnd + data.size()));
            data += stored;
        }
        const std::string section =
            bytes32(uint32_t(tableEnd + data.size())) + bytes32(uint32_t(values_.size())) + table + data;
        std::string header = bytes16(0xFFFE) + bytes16(0) + bytes32(0x00020006) + std::string(16, '\0') + bytes32(1);
        header.append(reinterpret_cast<const char*>(formatId_), 16);
        return header + bytes32(uint32_t(header.size() + 4)) + section;
    }

    static std::string bytes16(uint16_t v) { return {char(v & 0xFF), char(v >> 8)}; }
    static std::string bytes32(uint32_t v) { return bytes16(uint16_t(v)) + bytes16(uint16_t(v >> 16)); }

private:
    struct Stored {
        uint32_t id;
        std::string bytes;
    };
    const uint8_t* formatId_;
    std::vector<Stored> values_;
};

}  // namespace quillet::test
