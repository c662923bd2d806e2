#include "compound/PropertySet.h"

#include "platform/ByteOrder.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cstring>

namespace quillet {

const uint8_t kSummaryFormatId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                      0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const uint8_t kDocumentSummaryFormatId[16] = {0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                              0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

namespace {

constexpr uint16_t kByteOrderMark = 0xFFFE;
constexpr size_t kHeaderSize = 28;  // byte order, version, system, class id, section count
constexpr size_t kSectionEntrySize = 20;
constexpr uint32_t kCodePageId = 1;

enum VariantType : uint16_t {
    kInt16 = 0x02,
    kInt32 = 0x03,
    kBool = 0x0B,
    kUInt16 = 0x12,
    kUInt32 = 0x13,
    kInt = 0x16,
    kUInt = 0x17,
    kAnsiString = 0x1E,
    kWideString = 0x1F,
    kFileTime = 0x40,
};

// The bytes of one section: every read is checked against its end.
class SectionBytes {
public:
    SectionBytes(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool fits(size_t at, size_t count) const { return at <= size_ && count <= size_ - at; }
    uint16_t u16(size_t at) const { return loadU16(bytes_ + at); }
    uint32_t u32(size_t at) const { return loadU32(bytes_ + at); }
    const uint8_t* at(size_t offset) const { return bytes_ + offset; }

private:
    const uint8_t* bytes_;
    size_t size_;
};

std::u16string wideText(const uint8_t* bytes, size_t characters)
{
    std::u16string text(characters, u'\0');
    for (size_t i = 0; i < characters; ++i)
        text[i] = static_cast<char16_t>(loadU16(bytes + 2 * i));
    return text;
}

void dropTrailingZeros(std::u16string& text)
{
    text.erase(std::find_if(text.rbegin(), text.rend(), [](char16_t c) { return c != u'\0'; }).base(), text.end());
}

// Reads the value at offset into property; false when its type is not one kept
// or it does not fit.
bool readValue(const SectionBytes& section, size_t offset, unsigned codePage, StoredProperty& property)
{
    if (!section.fits(offset, 4))
        return false;
    const uint16_t type = section.u16(offset);
    const size_t value = offset + 4;
    switch (type) {
    case kInt16:
    case kUInt16:
    case kBool:
        if (!section.fits(value, 2))
            return false;
        property.integer = type == kInt16 ? int64_t(int16_t(section.u16(value))) : int64_t(section.u16(value));
        property.kind = StoredProperty::Kind::Integer;
        if (type == kBool) {
            property.kind = StoredProperty::Kind::Boolean;
            property.integer = property.integer != 0;
        }
        return true;
    case kInt32:
    case kInt:
    case kUInt32:
    case kUInt:
        if (!section.fits(value, 4))
            return false;
        property.integer =
            (type == kInt32 || type == kInt) ? int64_t(int32_t(section.u32(value))) : int64_t(section.u32(value));
        property.kind = StoredProperty::Kind::Integer;
        return true;
    case kFileTime:
        if (!section.fits(value, 8))
            return false;
        property.fileTime = uint64_t(section.u32(value)) | (uint64_t(section.u32(value + 4)) << 32);
        property.kind = StoredProperty::Kind::Time;
        return true;
    case kAnsiString: {
        if (!section.fits(value, 4))
            return false;
        const size_t count = section.u32(value);  // bytes, the terminating zero included
        if (!section.fits(value + 4, count))
            return false;
        const uint8_t* text = section.at(value + 4);
        // Page 1200 holds UTF-16 here, which the decoder knows as well.
        property.text = platform::codePageToUtf16(codePage, reinterpret_cast<const char*>(text), count);
        dropTrailingZeros(property.text);
        property.kind = StoredProperty::Kind::Text;
        return true;
    }
    case kWideString: {
        if (!section.fits(value, 4))
            return false;
        const size_t characters = section.u32(value);
        if (characters > (SIZE_MAX - value - 4) / 2 || !section.fits(value + 4, characters * 2))
            return false;
        property.text = wideText(section.at(value + 4), characters);
        dropTrailingZeros(property.text);
        property.kind = StoredProperty::Kind::Text;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

std::vector<StoredProperty> readPropertySet(const uint8_t* bytes, size_t size, const uint8_t formatId[16])
{
    std::vector<StoredProperty> properties;
    const SectionBytes stream(bytes, size);
    if (bytes == nullptr || !stream.fits(0, kHeaderSize) || stream.u16(0) != kByteOrderMark)
        return properties;
    // Each section entry must fit; a count beyond them is a lie, not a reason to read on.
    const size_t sections = std::min<size_t>(stream.u32(24), (size - kHeaderSize) / kSectionEntrySize);
    size_t sectionOffset = 0;
    bool found = false;
    for (size_t i = 0; i < sections && !found; ++i) {
        const size_t entry = kHeaderSize + i * kSectionEntrySize;
        if (std::memcmp(stream.at(entry), formatId, 16) == 0) {
            sectionOffset = stream.u32(entry + 16);
            found = true;
        }
    }
    if (!found || !stream.fits(sectionOffset, 8))
        return properties;
    // The section's own size bounds every offset in it.
    const size_t declared = stream.u32(sectionOffset);
    const size_t sectionSize = std::min(declared, size - sectionOffset);
    const SectionBytes section(bytes + sectionOffset, sectionSize);
    if (!section.fits(0, 8))
        return properties;
    const size_t count = std::min<size_t>(section.u32(4), (sectionSize - 8) / 8);

    // The code page first, wherever it is listed: the strings depend on it.
    unsigned codePage = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 8 + i * 8;
        StoredProperty page;
        if (section.u32(entry) == kCodePageId && readValue(section, section.u32(entry + 4), 0, page) &&
            page.kind == StoredProperty::Kind::Integer) {
            codePage = static_cast<unsigned>(page.integer) & 0xFFFF;
            break;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 8 + i * 8;
        StoredProperty property;
        property.id = section.u32(entry);
        // Id 0 is the dictionary of names, 1 the code page: neither is a document property.
        if (property.id <= kCodePageId)
            continue;
        if (readValue(section, section.u32(entry + 4), codePage, property))
            properties.push_back(std::move(property));
    }
    return properties;
}

}  // namespace quillet
