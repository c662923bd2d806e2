#include "output/DocumentRecord.h"
#include "output/TextFileReencoding.h"
#include "output/TextSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::vector<uint64_t> startsOf(const DocumentRecord& record)
{
    return record.starts();
}

}  // namespace

// A part starts where the file's next byte goes, whatever is still buffered,
// in the UTF-8 lines of a draft and in the bytes packages append; a text
// given back as UTF-16 keeps its parts at their new places, one turned to
// UTF-16 by an unpaired surrogate keeps none.
TEST(DocumentRecord, PartsStartWhereTheirBytesLand)
{
    TempDir dir;
    DocumentRecord lines;
    {
        TextSink sink(dir.path(), TextSink::FileForm::Utf8Lines);
        sink.setRecord(&lines);
        sink.beginPart("page", 1);
        sink.appendWide(u"\u00E9t\u00E9\n");
        sink.beginPart("page", 2);
        sink.appendWide(std::u16string(70000, u'x'));
        sink.beginPart("page", 3);
        sink.close();
    }
    EXPECT_EQ(startsOf(lines), (std::vector<uint64_t>{0, 7, 70007}));
    DocumentRecord copy = lines;
    std::vector<uint64_t> moved = copy.starts();
    finishTextFile(dir.path(), false, &moved);
    EXPECT_EQ(moved, (std::vector<uint64_t>{0, 8, 140008}));
    EXPECT_EQ(readFile(dir.file("1.txt")).substr(0, 10), utf16leBytes(u"\u00E9t\u00E9\nx"));

    DocumentRecord appended;
    {
        TextSink sink(dir.path());
        sink.setRecord(&appended);
        sink.appendUtf8(std::string(100000, 'a'));
        sink.beginPart("sheet", 1, "S");
        sink.appendUtf8("b");
    }
    EXPECT_EQ(startsOf(appended), (std::vector<uint64_t>{100000}));
    EXPECT_EQ(appended.parts()[0].name, "S");

    DocumentRecord surrogate;
    {
        TextSink sink(dir.path(), TextSink::FileForm::Utf8Lines);
        sink.setRecord(&surrogate);
        sink.beginPart("body", 1);
        sink.appendWide(u"a\xD800");
        sink.appendWide(u"b");
        sink.beginPart("headers", 1);
    }
    EXPECT_TRUE(surrogate.partsDropped());
    EXPECT_TRUE(surrogate.parts().empty());

    // Without a record, or for the in-memory text, nothing is marked.
    TextSink memory{std::string()};
    memory.beginPart("page", 1);
}

// Properties keep their kinds in JSON; parts dropped are null.
TEST(DocumentRecord, JsonKeepsKindsAndSaysWhenPartsWereDropped)
{
    DocumentRecord record;
    record.metadata().setText("title", "Q\"3\"");
    record.metadata().setCount("pages", 12);
    record.metadata().setFlag("encrypted", false);
    record.markPart("sheet", 2, "\u00DCn", 5);
    EXPECT_EQ(record.toJson("XLS", 0), "{\"code\":0,\"format\":\"XLS\",\"metadata\":{\"encrypted\":false,\"pages\":12,"
                                       "\"title\":\"Q\\\"3\\\"\"},\"parts\":[{\"index\":2,\"kind\":\"sheet\",\"name\":"
                                       "\"\u00DCn\",\"start\":5}]}\n");
    record.dropParts();
    record.markPart("sheet", 3, "", 9);
    EXPECT_EQ(record.toJson(nullptr, 4098), "{\"code\":4098,\"format\":null,\"metadata\":{\"encrypted\":false,"
                                            "\"pages\":12,\"title\":\"Q\\\"3\\\"\"},\"parts\":null}\n");
}
