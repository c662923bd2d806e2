// PDF documents through the library's calls and the page drivers.
#include "api/EngineRegistry.h"
#include "output/TextFileReencoding.h"
#include "pdf/PdfEngine.h"
#include "pdf/PdfTextExtractor.h"

#include "support/PdfBuilder.h"
#include "support/StructuredRead.h"
#include "support/TempDir.h"

#include <quillet/quillet.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <turbojpeg.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kData = QUILLET_TEST_DATA "/pdf/";

std::string exportText(const std::string& source, const std::string& out, uint32_t* code = nullptr,
                       uint32_t flags = WriteText, int limit = 30)
{
    const uint32_t result = export2Txt(source.c_str(), out.c_str(), 0, flags, limit);
    if (code != nullptr)
        *code = result;
    return readFile(out + "/1.txt");
}

QString content(const std::string& source, const QString& before = QString())
{
    QString text = before;
    quilletGetFileContent(QString::fromStdString(source), text);
    return text;
}

// The size of a JPEG, and its pixels as packed RGB.
std::pair<int, int> jpegSize(const std::string& bytes, std::vector<unsigned char>* rgb = nullptr)
{
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    const auto* jpeg = reinterpret_cast<const unsigned char*>(bytes.data());
    tjhandle decoder = tjInitDecompress();
    tjDecompressHeader3(decoder, jpeg, bytes.size(), &w, &h, &subsampling, &colourspace);
    if (rgb != nullptr) {
        rgb->resize(size_t(w) * size_t(h) * 3);
        tjDecompress2(decoder, jpeg, bytes.size(), rgb->data(), w, 0, h, TJPF_RGB, 0);
    }
    tjDestroy(decoder);
    return {w, h};
}

std::string pageLines(int from, int to)
{
    std::string text;
    for (int i = from; i < to; ++i)
        text += "page " + std::to_string(i) + "\r\n";
    return text;
}

class PdfExportTest : public ::testing::Test {
protected:
    void SetUp() override { quilletInitialize(); }
    void TearDown() override { quilletDestory(); }

    std::string write(const std::string& name, const std::string& bytes)
    {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }

    TempDir dir;
};

TEST_F(PdfExportTest, TextOfEveryPageInOrder)
{
    const std::string latin = write("latin.pdf", PdfBuilder()
                                                     .textPage({"First page", "caf\xE9 na\xEFve \xC6r\xF8sk\xF8"
                                                                              "bing"})
                                                     .rawPage("")
                                                     .textPage({"Third (page)"})
                                                     .build());
    const std::string chinese =
        write("chinese.pdf", PdfBuilder().cjkPage(u"中文文本，测试。").textPage({"end"}).build());
    const std::string hyphens =
        write("hyphens.pdf", PdfBuilder().textPage({"an ex-", "ample of", "2020-", "2021 and X-", "Ray"}).build());
    const struct {
        std::string source, exported, inMemory;
    } cases[] = {
        {latin, "First page\r\ncafé naïve Ærøskøbing\r\nThird (page)\r\n",
         "First page\ncaf nave rskbing\nThird (page)\n"},
        {chinese, "中文文本，测试。\r\nend\r\n", "中文文本，测试。\nend\n"},
        {hyphens, "an example of\r\n2020-\r\n2021 and X-\r\nRay\r\n", "an example of\n2020-\n2021 and X-\nRay\n"},
        {kData + "latin-accented.pdf",
         "Quarterly report\r\nThe quick brown fox jumps over the lazy dog.\r\n"
         "Accents: café, naïve, Ærøskøbing, São Paulo, Größe, Łódź.\r\nSecond page begins here.\r\n"
         "Résumé of the findings: déjà vu.\r\n",
         "Quarterly report\nThe quick brown fox jumps over the lazy dog.\nAccents: caf, nave, rskbing, So Paulo, Gre, "
         "d.\n"
         "Second page begins here.\nRsum of the findings: dj vu.\n"},
    };
    for (const auto& c : cases) {
        uint32_t code = 99;
        EXPECT_EQ(exportText(c.source, dir.file("out"), &code), c.exported) << c.source;
        EXPECT_EQ(code, Success);
        EXPECT_EQ(content(c.source).toStdString(), c.inMemory) << c.source;
    }
}

TEST_F(PdfExportTest, DocumentsThatDoNotOpen)
{
    const std::string good = PdfBuilder().textPage({"hello"}).build();
    const struct {
        std::string name, source;
        uint32_t code;
    } cases[] = {
        {"AES-256 user password", kData + "encrypted-aes256.pdf", Encrypted},
        {"RC4 user password", kData + "encrypted-rc4.pdf", Encrypted},
        {"unknown security handler", write("bogus.pdf", PdfBuilder().textPage({"x"}).unknownSecurityHandler().build()),
         Encrypted},
        {"PDF header, then garbage", write("garbage.pdf", "%PDF-1.4\n" + std::string(600, '\x01')), ConversionFailed},
    };
    for (const auto& c : cases) {
        const std::string out = dir.file("out-" + std::to_string(c.code));
        uint32_t code = 0;
        exportText(c.source, out, &code, WriteText | WritePictures);
        EXPECT_EQ(code, c.code) << c.name;
        EXPECT_EQ(listFolder(out), std::vector<std::string>{}) << c.name;
        EXPECT_EQ(content(c.source, QStringLiteral("kept")), QStringLiteral("kept")) << c.name;
    }
    uint32_t code = 0;
    EXPECT_EQ(exportText(kData + "owner-only.pdf", dir.file("owner"), &code).substr(0, 16), "Quarterly report");
    EXPECT_EQ(code, Success);

    // No pages is a success with an empty text.
    const std::string empty = write("empty.pdf", PdfBuilder().build());
    EXPECT_EQ(exportText(empty, dir.file("empty"), &code), "");
    EXPECT_EQ(code, Success);
    EXPECT_TRUE(fileExists(dir.file("empty/1.txt")));
    EXPECT_EQ(content(empty, QStringLiteral("kept")), QString());

    // A cut-short file is repaired as far as it goes; whatever it gives is defined.
    const std::string cut = write("cut.pdf", good.substr(0, good.size() / 2) + std::string(600, ' '));
    exportText(cut, dir.file("cut"), &code);
    EXPECT_TRUE(code == Success || code == ConversionFailed) << code;
}

TEST_F(PdfExportTest, PicturesInReverseDrawingOrderAndAtMost99APage)
{
    const std::string source = write("pictures.pdf", PdfBuilder()
                                                         .picturePage({{1, 1}, {2, 2}, {3, 3}})
                                                         .repeatedPicturePage(100)
                                                         .repeatedPicturePage(99)
                                                         .picturePage({{5, 4}})
                                                         .build());
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(source.c_str(), out.c_str(), 0, WritePictures, 30), Success);
    const std::vector<std::string> files = listFolder(out);
    EXPECT_EQ(files.size(), 3u + 99u + 1u) << "no 1.txt, nothing from the page with 100";
    EXPECT_FALSE(fileExists(out + "/1.txt"));
    EXPECT_EQ(jpegSize(readFile(out + "/image1.jpg")), std::make_pair(3, 3));
    EXPECT_EQ(jpegSize(readFile(out + "/image3.jpg")), std::make_pair(1, 1));
    EXPECT_EQ(jpegSize(readFile(out + "/image102.jpg")), std::make_pair(2, 2));
    EXPECT_EQ(jpegSize(readFile(out + "/image103.jpg")), std::make_pair(5, 4)) << "the counter runs across pages";

    // The LibreOffice fixture's PNG picture, with the text.
    const std::string fixture = dir.file("fixture");
    EXPECT_EQ(export2Txt((kData + "latin-accented.pdf").c_str(), fixture.c_str(), 0, WriteText | WritePictures, 30),
              Success);
    EXPECT_EQ(listFolder(fixture), (std::vector<std::string>{"1.txt", "image1.jpg"}));
    EXPECT_EQ(jpegSize(readFile(fixture + "/image1.jpg")), std::make_pair(40, 30));

    // Transparency is laid over white: a red stencil, a blue picture with its right half masked off.
    const std::string masked =
        write("masked.pdf", PdfBuilder().stencilPage().softMaskPage().repeatedPicturePage(10000).build());
    const std::string maskedOut = dir.file("masked");
    EXPECT_EQ(export2Txt(masked.c_str(), maskedOut.c_str(), 0, WritePictures, 30), Success);
    EXPECT_EQ(listFolder(maskedOut), (std::vector<std::string>{"image1.jpg", "image2.jpg"})) << "none of 10,000";
    const struct {
        std::string file;
        std::array<int, 3> left, right;
    } pictures[] = {{"image1.jpg", {255, 0, 0}, {255, 255, 255}}, {"image2.jpg", {0, 0, 255}, {255, 255, 255}}};
    for (const auto& p : pictures) {
        const std::string bytes = readFile(maskedOut + "/" + p.file);
        std::vector<unsigned char> rgb;
        ASSERT_EQ(jpegSize(bytes, &rgb), std::make_pair(16, 8)) << p.file;
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(rgb[(4 * 16 + 2) * 3 + size_t(c)], p.left[size_t(c)], 40) << p.file << " left " << c;
            EXPECT_NEAR(rgb[(4 * 16 + 13) * 3 + size_t(c)], p.right[size_t(c)], 40) << p.file << " right " << c;
        }
    }

    const std::string huge = write("huge.pdf", PdfBuilder().hugePicturePage(10000, 10000).textPage({"after"}).build());
    EXPECT_EQ(exportText(huge, dir.file("huge"), nullptr, WriteText | WritePictures), "after\r\n");
    EXPECT_EQ(listFolder(dir.file("huge")), std::vector<std::string>{"1.txt"});
}

// A picture drawn again is written again, the same, from one encoding; a
// stencil drawn in another colour is another picture.
TEST_F(PdfExportTest, PicturesDrawnAgain)
{
    const std::string source =
        write("again.pdf", PdfBuilder().repeatedPicturePage(3).twoColourStencilPage().repeatedPicturePage(2).build());
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(source.c_str(), out.c_str(), 0, WritePictures, 30), Success);
    ASSERT_EQ(listFolder(out).size(), 7u);
    const std::string first = readFile(out + "/image1.jpg");
    for (const char* same : {"image2.jpg", "image3.jpg", "image6.jpg", "image7.jpg"})
        EXPECT_EQ(readFile(out + "/" + same), first) << same;
    const struct {
        std::string file;
        std::array<int, 3> colour;
    } stencils[] = {{"image4.jpg", {0, 0, 255}}, {"image5.jpg", {255, 0, 0}}};  // last drawn first
    for (const auto& stencil : stencils) {
        std::vector<unsigned char> rgb;
        ASSERT_EQ(jpegSize(readFile(out + "/" + stencil.file), &rgb), std::make_pair(16, 8)) << stencil.file;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(rgb[(4 * 16 + 2) * 3 + size_t(c)], stencil.colour[size_t(c)], 40) << stencil.file << " " << c;
    }
}

TEST_F(PdfExportTest, InMemoryTextStopsAfter102Pages)
{
    PdfBuilder builder;
    for (int i = 0; i < 150; ++i)
        builder.textPage({"page " + std::to_string(i)});
    const std::string source = write("long.pdf", builder.build());
    std::string expected = pageLines(0, 102);
    expected.erase(std::remove(expected.begin(), expected.end(), '\r'), expected.end());
    EXPECT_EQ(content(source).toStdString(), expected);
    EXPECT_EQ(exportText(source, dir.file("out")), pageLines(0, 150));
}

std::atomic<int64_t> fakeNow{0};
std::thread::id driverThread;
int64_t steppingClock()
{
    // Each reading by the driver a second later; the watchdog only looks.
    return std::this_thread::get_id() == driverThread ? fakeNow += 1001 : fakeNow.load();
}
int64_t settableClock()
{
    return fakeNow.load();
}

TEST_F(PdfExportTest, TimeLimitCountsWholeSecondsBetweenPages)
{
    PdfBuilder builder;
    for (int i = 0; i < 5; ++i)
        builder.textPage({"page " + std::to_string(i)});
    const std::string source = write("five.pdf", builder.build());
    const std::string out = dir.file("out");
    ::quillet::makeFolder(out);
    driverThread = std::this_thread::get_id();
    const struct {
        int limit;
        uint32_t code;
        int pages;
    } cases[] = {{0, PdfTimeLimit, 1}, {2, PdfTimeLimit, 3}, {5, Success, 5}};
    for (const auto& c : cases) {
        PdfTextExtractor exporter(source, nullptr, steppingClock);
        fakeNow = 0;
        EXPECT_EQ(exporter.extract(out, WriteText, c.limit), c.code) << c.limit;
        finishTextFile(out, false);  // the text as appended
        EXPECT_EQ(
            readFile(out + "/1.txt"),
            utf16leBytes(QString::fromStdString(pageLines(0, c.pages)).remove(QLatin1Char('\r')).toStdU16String()))
            << c.limit;

        PdfTextExtractor reader(source, nullptr, steppingClock);
        fakeNow = 0;
        QString text = QStringLiteral("kept");
        EXPECT_EQ(reader.getContent(text, c.limit), c.code);
        EXPECT_EQ(text == QStringLiteral("kept"), c.code == PdfTimeLimit) << c.limit;
    }
    // The real clock: a generous limit is not reached.
    EXPECT_EQ(export2Txt(source.c_str(), out.c_str(), 0, WriteText, 30), Success);
}

TEST_F(PdfExportTest, TimeLimitStopsAPageInTheMiddle)
{
    // A hundred million operators: a run of many seconds, cut short.
    const std::string source = write("slow.pdf", PdfBuilder().textPage({"first"}).slowPage(100).build());
    const std::string out = dir.file("out");
    ::quillet::makeFolder(out);
    for (bool inMemory : {false, true}) {
        fakeNow = 0;
        PdfTextExtractor extractor(source, nullptr, settableClock);
        QString text = QStringLiteral("kept");
        uint32_t code = 0;
        std::thread run(
            [&] { code = inMemory ? extractor.getContent(text, 2) : extractor.extract(out, WriteText, 2); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        fakeNow = 3000;  // past two whole seconds
        run.join();
        EXPECT_EQ(code, PdfTimeLimit) << inMemory;
        EXPECT_EQ(text, QStringLiteral("kept")) << inMemory;
    }
    finishTextFile(out, false);
    EXPECT_EQ(readFile(out + "/1.txt"), utf16leBytes(u"first\n")) << "nothing of the stopped page";
}

TEST_F(PdfExportTest, PageTreeThatClaimsMorePagesThanItHolds)
{
    const std::string lying =
        write("lying.pdf", PdfBuilder().textPage({"only"}).declaredPageCount("9999999999").build());
    uint32_t code = 0;
    EXPECT_EQ(exportText(lying, dir.file("lying"), &code, WriteText, 1), "only\r\n");
    EXPECT_EQ(code, Success) << "not a walk to the time limit";
    EXPECT_EQ(content(lying).toStdString(), "only\n");

    // No page at all is a damaged document.
    const std::string hollow = write("hollow.pdf", PdfBuilder().declaredPageCount("5").build());
    exportText(hollow, dir.file("hollow"), &code, WriteText | WritePictures, 1);
    EXPECT_EQ(code, ConversionFailed);
    EXPECT_EQ(listFolder(dir.file("hollow")), std::vector<std::string>{});
    EXPECT_EQ(content(hollow, QStringLiteral("kept")), QStringLiteral("kept"));
}

TEST_F(PdfExportTest, DamagedPageContentGivesTheTextAroundIt)
{
    const std::string source =
        write("damaged.pdf", PdfBuilder()
                                 .textPage({"before"})
                                 .rawPage("BT /F1 12 Tf 72 700 Td (kept) Tj ET q 1 0 0 cm } ] >> "
                                          "/Nope Do 9 9 9 9 9 re f* (loose) Tj")
                                 .textPage({"after"})
                                 .build());
    uint32_t code = 0;
    const std::string text = exportText(source, dir.file("out"), &code);
    EXPECT_EQ(code, Success);
    EXPECT_EQ(text.substr(0, 14), "before\r\nkept\r\n");
    EXPECT_EQ(text.substr(text.size() - 7), "after\r\n");
}

TEST(PdfThreads, ConcurrentConversionsMatchOneThread)
{
    TempDir dir;
    PdfBuilder a, b;
    for (int i = 0; i < 40; ++i) {
        a.textPage({"alpha " + std::to_string(i)});
        b.cjkPage(u"线程" + std::u16string(1, char16_t(0x4E00 + i)));
    }
    writeFile(dir.file("a.pdf"), a.build());
    writeFile(dir.file("b.pdf"), b.build());
    const std::string sources[] = {dir.file("a.pdf"), dir.file("b.pdf")};

    std::string single[2];
    for (int i = 0; i < 2; ++i)
        single[i] = exportText(sources[i], dir.file("single" + std::to_string(i)));

    std::string threaded[2];
    uint32_t codes[2] = {99, 99};
    bool hadEngine[2] = {true, true};
    auto convert = [&](int i, bool initialise) {
        if (initialise)
            quilletInitialize();
        for (int round = 0; round < 3; ++round)
            threaded[i] = exportText(sources[i], dir.file("t" + std::to_string(i) + std::to_string(round)), &codes[i]);
        hadEngine[i] = EngineRegistry::instance().currentThreadHasEngine();
        if (initialise)
            quilletDestory();
    };
    // One thread prepared its engine, the other never called quilletInitialize.
    std::thread first(convert, 0, true), second(convert, 1, false);
    first.join();
    second.join();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(codes[i], Success);
        EXPECT_EQ(threaded[i], single[i]);
        EXPECT_FALSE(single[i].empty());
    }
    EXPECT_TRUE(hadEngine[0]);
    EXPECT_FALSE(hadEngine[1]) << "a temporary engine is not registered";
}

}  // namespace

// Pages are parts, a blank one too; a conversion stopped by its time limit
// keeps the pages it wrote as parts; an encrypted file says so.
TEST_F(PdfExportTest, PagesAreParts)
{
    const std::string pages = write(
        "pages.pdf", PdfBuilder().textPage({"First page", "second line"}).rawPage("").textPage({"Third"}).build());
    const readable::Document document = readStructured(readFile(pages));
    EXPECT_EQ(partList(document),
              (std::vector<std::string>{"page 1 : First page\nsecond line\n", "page 2 : ", "page 3 : Third\n"}));
    EXPECT_NE(document.metadataJson.find("\"pages\":3"), std::string::npos) << document.metadataJson;

    readable::Options options;
    options.structure = true;
    options.timeLimitSeconds = 0;
    const std::string slow = write("slow.pdf", PdfBuilder().textPage({"first"}).slowPage(100).build());
    const readable::Document stopped = readable::readDocument(slow, options);
    EXPECT_EQ(stopped.code, PdfTimeLimit);
    EXPECT_EQ(partList(stopped), (std::vector<std::string>{"page 1 : first\n"}));

    const readable::Document locked = readStructured(readFile(kData + "encrypted-rc4.pdf"));
    EXPECT_EQ(locked.code, Encrypted);
    EXPECT_EQ(locked.metadataJson, "{\"encrypted\":true}");
    EXPECT_TRUE(locked.parts.empty());
}
