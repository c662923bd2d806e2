// The quillet tool as people run it: output, result codes and exit status.
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <tuple>

using namespace quillet::test;

namespace {

// stdout and stderr together, and the exit status.
std::pair<std::string, int> runCli(std::vector<std::string> args)
{
    ToolLaunch launch;
    launch.args = std::move(args);
    const ToolRun run = runTool(launch);
    return {run.out + run.err, run.status};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace

TEST(Cli, FormatExportTextAndUsage)
{
    TempDir dir;
    const std::string pdf = dir.file("a.pdf"), rtf = dir.file("a.rtf"), txt = dir.file("t.txt"), out = dir.file("out");
    writeFile(pdf, "%PDF-1.4\n" + std::string(600, ' '));
    writeFile(rtf, "{\\rtf1}");
    writeFile(txt, "\xEF\xBB\xBFh\xC3\xA9llo\n");
    EXPECT_EQ(runCli({"format", pdf}).first, "PDF\n");
    EXPECT_EQ(runCli({"format", rtf}).first, "RTF\n");
    EXPECT_EQ(runCli({"format", txt}).first, "NOT_SUPPORT\n");
    EXPECT_EQ(runCli({"format", dir.file("none")}), std::make_pair(std::string("OPEN_ERR\n"), 1));

    EXPECT_EQ(runCli({"export", pdf, out, "--flags", "0x1000"}),
              std::make_pair(std::string("4101 PDF refused, or presentation without content\n"), 1));
    EXPECT_EQ(runCli({"export", dir.file("none.doc"), out}).first.substr(0, 2), "2 ");
    EXPECT_EQ(runCli({"export", pdf, txt + "/y"}).first.substr(0, 2), "2 ") << "a file stands in the way";
    EXPECT_EQ(runCli({"export", rtf, out}).first.substr(0, 5), "4097 ");

    EXPECT_EQ(runCli({"--help"}).second, 0);
    EXPECT_EQ(runCli({"--version"}), std::make_pair(std::string("quillet " QUILLET_VERSION "\n"), 0));
    EXPECT_EQ(runCli({"export", "only-one"}).second, 2);
    EXPECT_EQ(runCli({"export", "a", "b", "--flags", "zz"}).second, 2);
    EXPECT_EQ(runCli({"frobnicate"}),
              std::make_pair(std::string("quillet: unknown command frobnicate (see --help)\n"), 2));
}

// A disk that fills up: the conversion fails with the errno of the write
// (EFBIG under a file-size limit) and leaves no cut file behind.
TEST(Cli, ExportOntoAFullDiskFailsAndLeavesNothingHalfWritten)
{
    TempDir dir;
    std::string words = "{\\rtf1\\ansi ", ideographs = words;
    for (int i = 0; i < 40000; ++i)
        words += "word ";
    for (int i = 0; i < 12000; ++i)
        ideographs += "\\u20013?";
    writeFile(dir.file("words.rtf"), words + "}");
    writeFile(dir.file("cjk.rtf"), ideographs + "}");  // 24 kB in UTF-16, 36 kB in UTF-8
    ZipBuilder(Parts{{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "word/document.xml"))},
                     {"word/document.xml", "<w:document/>"},
                     {"word/media/big.png", std::string(100000, 'p')}})
        .write(dir.file("big.docx"));

    const auto exported = [&](const std::string& input, const std::string& flag, unsigned long limit) {
        ToolLaunch launch;
        const std::string path = input.find('/') == std::string::npos ? dir.file(input) : input;
        launch.args = {"export", path, dir.file("out-" + input.substr(input.rfind('/') + 1)), flag};
        launch.fileSizeLimit = limit;
        return runTool(launch);
    };
    const std::string letters = std::string(QUILLET_TEST_DATA) + "/letters/letters.";
    for (const auto& [input, flag, limit] :
         {std::make_tuple(std::string("words.rtf"), "--text", 65536ul),
          std::make_tuple(std::string("cjk.rtf"), "--text", 32768ul),
          std::make_tuple(std::string("big.docx"), "--pictures", 65536ul),
          std::make_tuple(letters + "doc", "--text", 64ul), std::make_tuple(letters + "pdf", "--text", 64ul),
          std::make_tuple(letters + "xlsx", "--text", 64ul)}) {
        const ToolRun run = exported(input, flag, limit);
        EXPECT_EQ(run.status, 1) << input;
        EXPECT_EQ(run.out.substr(0, 3), "27 ") << input << ": " << run.out << run.err;
        EXPECT_EQ(listFolder(dir.file("out-" + input.substr(input.rfind('/') + 1))), std::vector<std::string>{})
            << input;
    }
    EXPECT_EQ(exported("cjk.rtf", "--text", 65536).status, 0) << "room for both files";

    ToolLaunch launch;
    launch.args = {"batch", "--out", dir.file("batch"), "--quiet", dir.file("words.rtf")};
    launch.fileSizeLimit = 65536;
    EXPECT_EQ(runTool(launch).status, 0);
    const std::string log = readFile(dir.file("batch/results.jsonl"));
    EXPECT_NE(log.find("\"code\":27,\"status\":\"error\""), std::string::npos) << log;
}

TEST(Cli, TextOfEveryFormatKeepsEveryLetterAndAnswersFailuresByStatus)
{
    const std::string data = QUILLET_TEST_DATA;
    const std::string lines[] = {"\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 \xD0\xB5\xD1\x89\xD1\x91",
                                 "\xCE\x9E\xCE\xB5\xCF\x83\xCE\xBA\xCE\xB5\xCF\x80\xCE\xAC\xCE\xB6\xCF\x89",
                                 "\xE4\xB8\xAD\xE6\x96\x87\xEF\xBC\x9A\xE6\x88\x91\xE8\x83\xBD", "i\xC3\xA8re"};
    for (const char* format : {"doc", "docx", "xls", "xlsx", "ppt", "pptx", "rtf", "pdf", "txt"}) {
        const std::string path = data + "/letters/letters." + format;
        const auto [text, status] = runCli({"text", path});
        EXPECT_EQ(status, 0) << format;
        for (const std::string& line : lines)
            EXPECT_NE(text.find(line), std::string::npos) << format << " lost " << line;
        EXPECT_EQ(text.find_first_of("\r\x07"), std::string::npos) << format;
        // The same document from standard input.
        ToolLaunch piped;
        piped.args = {"text", "-"};
        piped.input = readFile(path);
        EXPECT_EQ(runTool(piped).out, text) << format;
    }
    // Options on either side of the paths; the pictures beside the text, or alone.
    TempDir dir;
    const std::string picture = data + "/docx/picture.docx";
    EXPECT_EQ(runCli({"export", "--pictures", picture, dir.file("a/b/c")}).second, 0);
    EXPECT_EQ(listFolder(dir.file("a/b/c")), (std::vector<std::string>{"1.txt", "image1.png"}));
    EXPECT_EQ(runCli({"export", picture, dir.file("p"), "--no-text", "--pictures"}).second, 0);
    EXPECT_EQ(listFolder(dir.file("p")), std::vector<std::string>{"image1.png"});
    const std::string stories = data + "/docx/stories.docx";
    EXPECT_EQ(runCli({"text", stories}).first.find("Quarterly header line"), std::string::npos);
    EXPECT_NE(runCli({stories, "text", "--extras"}).second, 0) << "the command comes first";
    EXPECT_NE(runCli({"text", stories, "--extras"}).first.find("Quarterly header line"), std::string::npos);

    writeFile(dir.file("garbage.pdf"), "%PDF-1.4\n" + std::string(600, '\x01'));
    const std::pair<std::string, int> failures[] = {
        {data + "/pdf/encrypted-rc4.pdf", 5}, {data + "/sample.txt.missing", 3}, {data, 3},
        {data + "/docx/picture.fodt", 4},     {dir.file("garbage.pdf"), 6},
    };
    for (const auto& [path, status] : failures) {
        ToolLaunch launch;
        launch.args = {"text", path};
        const ToolRun run = runTool(launch);
        EXPECT_EQ(run.status, status) << path;
        EXPECT_EQ(run.out, "") << path;
        EXPECT_EQ(run.err.rfind("quillet: " + path + ": ", 0), 0u) << run.err;
    }
    EXPECT_EQ(runCli({"text"}).second, 2);
    EXPECT_EQ(runCli({"text", picture, picture}).second, 2);

    // A batch with --clean writes the same text.
    const std::string doc = data + "/letters/letters.doc";
    EXPECT_EQ(runCli({"batch", "--out", dir.file("batch"), "--clean", "--quiet", doc}).second, 0);
    std::string written;
    for (const std::string& name : listFolder(dir.file("batch")))
        if (name.rfind("letters.doc-", 0) == 0)
            written = readFile(dir.file("batch/" + name + "/1.txt"));
    EXPECT_EQ(written, runCli({"text", doc}).first);
}

// text --json and meta print JSON whatever the outcome, the parts joined
// are what text prints, and a batch with --json keeps the same beside 1.txt
// and the title, author and pages in its log.
TEST(Cli, JsonOfEveryFormatHoldsTheTextInItsParts)
{
    const std::string data = QUILLET_TEST_DATA;
    TempDir dir;
    std::vector<std::string> inputs;
    for (const char* format : {"doc", "docx", "xls", "xlsx", "ppt", "pptx", "rtf", "pdf", "txt"}) {
        const std::string path = data + "/letters/letters." + format;
        inputs.push_back(path);
        ToolLaunch launch;
        launch.args = {"text", "--json", path};
        const ToolRun json = runTool(launch);
        EXPECT_EQ(json.status, 0) << format;
        const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        QString joined;
        for (const QJsonValue part : document.value(QStringLiteral("parts")).toArray())
            joined += part.toObject().value(QStringLiteral("text")).toString();
        EXPECT_EQ(joined.toStdString(), runCli({"text", path}).first) << format;
        EXPECT_EQ(document.value(QStringLiteral("code")).toInt(-1), 0) << format;
        EXPECT_EQ(document.value(QStringLiteral("format")).toString().toLower().toStdString(), format);
        launch.args = {"meta", path};
        const QJsonObject metadata = QJsonDocument::fromJson(QByteArray::fromStdString(runTool(launch).out)).object();
        EXPECT_EQ(metadata, document.value(QStringLiteral("metadata")).toObject()) << format;
    }
    ToolLaunch locked;
    locked.args = {"text", "--json", data + "/pdf/encrypted-rc4.pdf"};
    const ToolRun run = runTool(locked);
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.out, "{\"code\":4102,\"format\":\"PDF\",\"metadata\":{\"encrypted\":true},\"parts\":[]}\n");
    EXPECT_EQ(runCli({"meta", "--json", inputs[0]}).second, 2);

    std::vector<std::string> batch = {"batch", "--out", dir.file("batch"), "--json", "--quiet"};
    batch.insert(batch.end(), inputs.begin(), inputs.end());
    EXPECT_EQ(runCli(batch).second, 0);
    int records = 0;
    for (const std::string& line : splitLines(readFile(dir.file("batch/results.jsonl")))) {
        const QJsonObject record = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        const std::string path = record.value(QStringLiteral("path")).toString().toStdString();
        const std::string folder = dir.file("batch/" + record.value(QStringLiteral("out")).toString().toStdString());
        // A batch converts documents only, never plain text.
        if (path.size() < 4 || path.compare(path.size() - 4, 4, ".txt") != 0) {
            EXPECT_EQ(readFile(folder + "/doc.json"), runCli({"text", "--json", path}).first) << path;
        }
        EXPECT_FALSE(fileExists(folder + "/1.json")) << path;
        for (const char* key : {"title", "author", "pages"})
            EXPECT_TRUE(record.contains(QString::fromLatin1(key))) << path << " " << key;
        ++records;
    }
    EXPECT_EQ(records, 9);
}

// The PDF engine is a plugin of the library: a process maps it only when it
// meets a PDF, and that process converts with it.
TEST(Cli, OnlyAPdfLoadsTheEnginePlugin)
{
    TempDir dir;
    const std::string data = QUILLET_TEST_DATA;
    const auto loadsEngine = [&](const std::string& source, const std::string& command) {
        ToolLaunch launch;
        launch.args = command == "export" ? std::vector<std::string>{"export", source, dir.file("out")}
                                          : std::vector<std::string>{command, source};
        launch.environment = {{"LD_DEBUG", "files"}};
        const ToolRun run = runTool(launch);
        EXPECT_EQ(run.status, 0) << source << " " << command;
        return run.err.find("libquillet-pdf.so") != std::string::npos;
    };
    for (const char* command : {"export", "text", "format"}) {
        EXPECT_FALSE(loadsEngine(data + "/word/english.doc", command)) << command;
        EXPECT_FALSE(loadsEngine(data + "/rtf/wordpad.rtf", command)) << command;
        EXPECT_EQ(loadsEngine(data + "/pdf/latin-accented.pdf", command), std::string(command) != "format") << command;
    }
    EXPECT_EQ(readFile(dir.file("out/1.txt")).substr(0, 18), "Quarterly report\r\n");
}
