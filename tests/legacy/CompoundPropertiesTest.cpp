// Document properties of binary Office files, from their two property sets.
#include "legacy/CompoundProperties.h"

#include "compound/CompoundFile.h"

#include "support/CompoundFileBuilder.h"
#include "support/PropertySetBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillet;
using namespace quillet::test;

namespace {

// 2023-04-05T06:07:08Z as a FILETIME.
constexpr uint64_t kFileTime = (1680674828ull + 11644473600ull) * 10000000ull + 1234;

std::map<std::string, std::string> propertiesOf(CompoundFileBuilder builder)
{
    TempDir dir;
    const std::string path = dir.file("properties.doc");
    writeFile(path, builder.build());
    CompoundFile file(path);
    std::map<std::string, std::string> found;
    const DocumentMetadata metadata = readCompoundProperties(file);
    for (const DocumentMetadata::Entry& entry : metadata.entries())
        found[entry.name] = entry.value + (entry.kind == DocumentMetadata::Kind::Count ? "#" : "");
    return found;
}

}  // namespace

TEST(CompoundProperties, OneVocabularyFromBothSets)
{
    CompoundFileBuilder builder;
    builder.add("\005SummaryInformation", PropertySetBuilder()
                                              .codePage(1252)
                                              .ansi(2, "Quarterly r\xE9sum\xE9")
                                              .ansi(4, "Ana")
                                              .ansi(5, "")  // empty: absent
                                              .ansi(8, "Ben")
                                              .fileTime(12, kFileTime)
                                              .fileTime(13, 0)                  // never saved: absent
                                              .fileTime(11, ~uint64_t(0) >> 1)  // year 29000: absent
                                              .int32(14, 3)
                                              .int32(15, -1)  // a lying count: absent
                                              .ansi(18, "Microsoft Office Word")
                                              .int32(3, 7)  // a subject that is a number: absent
                                              .build());
    builder.add("\005DocumentSummaryInformation",
                PropertySetBuilder(kDocumentSummaryFormatId).wide(15, u"Example \u20AC Ltd").int32(7, 12).build());
    builder.add("WordDocument", std::string(512, '\0'));
    EXPECT_EQ(propertiesOf(builder), (std::map<std::string, std::string>{{"title", "Quarterly r\xC3\xA9sum\xC3\xA9"},
                                                                         {"author", "Ana"},
                                                                         {"last_author", "Ben"},
                                                                         {"created", "2023-04-05T06:07:08Z"},
                                                                         {"pages", "3#"},
                                                                         {"application", "Microsoft Office Word"},
                                                                         {"company", "Example \xE2\x82\xAC Ltd"},
                                                                         {"slides", "12#"}}));
}

TEST(CompoundProperties, DamagedOrMissingSetsGiveNothingAndNoFailure)
{
    CompoundFileBuilder none;
    none.add("WordDocument", std::string(512, '\0'));
    EXPECT_TRUE(propertiesOf(none).empty());

    // A set that is no set, and one inside an embedded object (not the document's own).
    CompoundFileBuilder damaged;
    damaged.add("\005SummaryInformation", std::string(300, '\xFF'));
    const int object = damaged.add("ObjectPool", "", 0, 1);
    damaged.add("\005DocumentSummaryInformation",
                PropertySetBuilder(kDocumentSummaryFormatId).ansi(15, "Embedded Inc").build(), object);
    EXPECT_TRUE(propertiesOf(damaged).empty());
}

TEST(DocumentMetadata, IsoTimesAcrossTheRange)
{
    EXPECT_EQ(isoUtcTime(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(isoUtcTime(951782400), "2000-02-29T00:00:00Z");
    EXPECT_EQ(isoUtcTime(-11644473600), "1601-01-01T00:00:00Z");
    EXPECT_EQ(isoUtcTime(253402300799), "9999-12-31T23:59:59Z");
    EXPECT_EQ(isoUtcTime(-11644473601), "");
    EXPECT_EQ(isoUtcTime(253402300800), "");
    EXPECT_EQ(isoUtcTime(-1), "1969-12-31T23:59:59Z");
}
