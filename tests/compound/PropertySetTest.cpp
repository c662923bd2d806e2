// Property-set streams as Office writes them, and as damage leaves them.
#include "compound/PropertySet.h"

#include "support/PropertySetBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::vector<StoredProperty> read(const std::string& stream, const uint8_t* formatId = kSummaryFormatId)
{
    return readPropertySet(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), formatId);
}

}  // namespace

TEST(PropertySet, StringsNumbersAndTimesInTheSetsCodePage)
{
    // The code page is listed last, as some writers do: strings still follow it.
    const std::string stream = PropertySetBuilder()
                                   .ansi(2, "Caf\xE9 r\xE9sum\xE9")
                                   .wide(4, u"Zo\u00EB \u5F20")
                                   .int32(14, 12)
                                   .fileTime(12, 0x01D9A1B2C3D4E5F6ull)
                                   .value(11, 0x0B, PropertySetBuilder::bytes16(0xFFFF))
                                   .value(17, 0x47, std::string(8, 'x'))  // a thumbnail: passed over
                                   .codePage(1252)
                                   .build();
    const std::vector<StoredProperty> properties = read(stream);
    ASSERT_EQ(properties.size(), 5u);
    EXPECT_EQ(properties[0].id, 2u);
    EXPECT_EQ(properties[0].text, u"Caf\u00E9 r\u00E9sum\u00E9");
    EXPECT_EQ(properties[1].text, u"Zo\u00EB \u5F20");
    EXPECT_EQ(properties[2].kind, StoredProperty::Kind::Integer);
    EXPECT_EQ(properties[2].integer, 12);
    EXPECT_EQ(properties[3].kind, StoredProperty::Kind::Time);
    EXPECT_EQ(properties[3].fileTime, 0x01D9A1B2C3D4E5F6ull);
    EXPECT_EQ(properties[4].kind, StoredProperty::Kind::Boolean);
    EXPECT_EQ(properties[4].integer, 1);

    // Another page: the same bytes read as Cyrillic; UTF-8 as a negative short.
    EXPECT_EQ(read(PropertySetBuilder().codePage(1251).ansi(2, "\xCF\xF0\xE8").build())[0].text, u"\u041F\u0440\u0438");
    EXPECT_EQ(read(PropertySetBuilder().codePage(-535).ansi(2, "\xE2\x82\xAC").build())[0].text, u"\u20AC");
    // A page no codec knows: its bytes as Windows-1252, the default page.
    EXPECT_EQ(read(PropertySetBuilder().codePage(12345).ansi(2, "caf\xE9").build())[0].text, u"caf\u00E9");
    // Only the section asked for: a summary stream has no document-summary properties.
    EXPECT_TRUE(read(stream, kDocumentSummaryFormatId).empty());
}

TEST(PropertySet, LyingCountsOffsetsAndSizesLoseOnlyWhatDoesNotFit)
{
    const std::string good = PropertySetBuilder().codePage(1252).ansi(2, "Title").int32(14, 3).build();
    ASSERT_EQ(read(good).size(), 2u);
    const size_t section = 48;  // after the header and its one section entry
    const auto patched = [&](size_t at, uint32_t value) {
        std::string stream = good;
        stream.replace(at, 4, PropertySetBuilder::bytes32(value));
        return stream;
    };
    // A property count far beyond the table, a section size beyond the stream: bounded by what is there.
    EXPECT_EQ(read(patched(section + 4, 0x7FFFFFFF)).size(), 2u);
    EXPECT_EQ(read(patched(section, 0xFFFFFFFF)).size(), 2u);
    // A section count beyond the entries, a section offset past the end.
    EXPECT_EQ(read(patched(24, 1000)).size(), 2u);
    EXPECT_TRUE(read(patched(44, 0xFFFFFFF0)).empty());
    // A value offset past the section, a string size past it: that property goes, the other stays.
    EXPECT_EQ(read(patched(section + 8 + 8 + 4, 0xFFFFFFF0)).size(), 1u);
    std::string longString = good;
    const size_t stringSize = good.find("Title") - 4;
    longString.replace(stringSize, 4, PropertySetBuilder::bytes32(0xFFFFFFFF));
    ASSERT_EQ(read(longString).size(), 1u);
    EXPECT_EQ(read(longString)[0].id, 14u);
    // A wide string whose character count overflows when doubled.
    EXPECT_TRUE(
        read(PropertySetBuilder().value(2, 0x1F, PropertySetBuilder::bytes32(0x80000001) + "ab").build()).empty());
    // Not a property set at all, or cut anywhere: nothing, or what fits, never a crash.
    EXPECT_TRUE(read("").empty());
    EXPECT_TRUE(read(std::string(100, '\xFF')).empty());
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_LE(read(good.substr(0, cut)).size(), 2u);
}
