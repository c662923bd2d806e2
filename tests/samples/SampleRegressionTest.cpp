// Runs every real sample document through the three document calls, each in
// a child process under a watchdog, and reports how much expected text came out.
#include <quillet/quillet.h>

#include "readable/ReadableText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillet::test;

namespace {

constexpr int kSecondsPerFile = 180;
constexpr uint32_t kDefaultFlags = 0x111;

// Formats whose readers exist: the least hit rate with the default flags.
// Every file of them must find all its expected text unless it is a known miss.
// Nearly all xls and xlsx substrings are lines of two workbooks whose expected
// text writes whole numbers as 1.0 and booleans as 1 or nothing.
const std::map<std::string, double> kMinimumHitRate = {{"doc", 98.0},  {"docx", 97.0}, {"pdf", 97.0}, {"ppt", 100.0},
                                                       {"pptx", 95.0}, {"rtf", 90.0},  {"xls", 2.0},  {"xlsx", 10.0}};

// Packages are named after their main part; these have no central directory.
const std::set<std::string> kUnreadablePackages = {
    "docx/poi__clusterfuzz-testcase-minimized-POIXWPFFuzzer-5313273089884160.docx", "docx/poi__truncated62886.docx",
    "xlsx/poi__clusterfuzz-testcase-minimized-POIXSSFFuzzer-5089447305609216.xlsx", "pptx/poi__Divino_Revelado.pptx",
    "pptx/poi__clusterfuzz-testcase-minimized-POIXSLFFuzzer-6254434927378432.pptx",
};

struct Sample {
    std::string path, format, tags;
    bool hasTag(const std::string& tag) const { return ("," + tags + ",").find("," + tag + ",") != std::string::npos; }
};

struct Outcome {
    std::string failure;  // empty when the child ran to its end cleanly
    uint32_t code = 0;
    std::string formatName, exported, content;
    std::string readable;                    // the text for people, as `quillet text` prints it
    std::string joinedParts, metadata;       // of the same text read with its structure
    std::map<std::string, size_t> pictures;  // the other files of the output folder, by name, with their sizes
};

size_t codePoints(const std::string& utf8)
{
    return size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The rows of a tab-separated file, without its header or "#" lines.
std::vector<std::vector<std::string>> readTable(const std::string& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("path\t", 0) == 0)
            continue;
        rows.emplace_back();
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, '\t');)
            rows.back().push_back(field);
        rows.back().resize(std::max<size_t>(rows.back().size(), 7));
    }
    return rows;
}

std::string collapsed(const std::string& text)
{
    std::string out;
    bool space = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

// Expected result codes by format and tag (or one document's path), first
// match wins; the documents that may miss expected text; and what given
// documents must give beyond that.
const std::string kTables = QUILLET_TEST_DATA "/samples/";

// A row of checks.tsv against what the document gave; empty when it holds.
std::string failedCheck(const std::vector<std::string>& row, const Outcome& outcome)
{
    const std::string &check = row[1], &value = row[2];
    if (check == "text")
        return collapsed(outcome.exported).find(value) == std::string::npos ? "1.txt lacks \"" + value + "\"" : "";
    if (check == "format")
        return outcome.formatName != value ? "named " + outcome.formatName + ", not " + value : "";
    if (check == "picture") {
        // "name" or "name bytes".
        const size_t space = value.find(' ');
        const auto found = outcome.pictures.find(value.substr(0, space));
        if (found == outcome.pictures.end())
            return "no picture " + value;
        if (space != std::string::npos && std::to_string(found->second) != value.substr(space + 1))
            return "picture " + found->first + " has " + std::to_string(found->second) + " bytes, not " + value;
        return "";
    }
    if (check == "property") {
        // "name=value", the value as text (counts in decimal).
        const size_t equals = value.find('=');
        const QJsonValue found = QJsonDocument::fromJson(QByteArray::fromStdString(outcome.metadata))
                                     .object()
                                     .value(QString::fromStdString(value.substr(0, equals)));
        const std::string text = found.isDouble() ? std::to_string(int64_t(found.toDouble()))
                                                  : found.toString(QStringLiteral("(none)")).toStdString();
        return text != value.substr(equals + 1) ? value.substr(0, equals) + " is " + text : "";
    }
    return "unknown check " + check;
}

// QUILLET_SAMPLE_FLAGS runs the samples with other export flags (e.g. 0x10).
uint32_t sampleFlags()
{
    const char* value = std::getenv("QUILLET_SAMPLE_FLAGS");
    return value != nullptr && *value != '\0' ? uint32_t(std::stoul(value, nullptr, 0)) : kDefaultFlags;
}

Outcome runSample(const std::string& source, uint32_t flags)
{
    TempDir scratch, results;
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(kSecondsPerFile);
        if (::chdir(scratch.path().c_str()) != 0)
            ::_exit(3);
        quilletInitialize();
        const uint32_t code = export2Txt(source.c_str(), scratch.file("out").c_str(), 0, flags, 30);
        const char* name = getFileFormate(source.c_str(), 0);
        QString text;
        quilletGetFileContent(QString::fromLocal8Bit(source.c_str()), text);
        quilletDestory();
        writeFile(results.file("code"), std::to_string(code));
        writeFile(results.file("format"), name != nullptr ? name : "(null)");
        writeFile(results.file("content"), text.toUtf8().toStdString());
        quillet::readable::Options options;
        options.extras = (flags & quillet::WriteExtras) != 0;
        options.timeLimitSeconds = 30;
        options.structure = true;
        const quillet::readable::Document document = quillet::readable::readDocument(source, options);
        writeFile(results.file("readable"), document.text);
        std::string joined;
        for (const quillet::readable::Part& part : document.parts)
            joined += quillet::readable::partText(document, part);
        writeFile(results.file("parts"), joined);
        writeFile(results.file("metadata"), document.metadataJson);
        ::_exit(0);
    }
    Outcome outcome;
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        outcome.failure = !WIFSIGNALED(status)          ? "exit status " + std::to_string(WEXITSTATUS(status))
                          : WTERMSIG(status) == SIGALRM ? std::string("hang")
                                                        : "crash: signal " + std::to_string(WTERMSIG(status));
        return outcome;
    }
    outcome.code = uint32_t(std::stoul(readFile(results.file("code"))));
    outcome.formatName = readFile(results.file("format"));
    outcome.content = readFile(results.file("content"));
    outcome.readable = readFile(results.file("readable"));
    outcome.joinedParts = readFile(results.file("parts"));
    outcome.metadata = readFile(results.file("metadata"));
    outcome.exported = readFile(scratch.file("out/1.txt"));
    // Nothing outside the output folder, and nothing but files inside it.
    if (listFolder(scratch.path()) != std::vector<std::string>{"out"})
        outcome.failure = "wrote outside the output folder";
    for (const std::string& name : listFolder(scratch.file("out"))) {
        struct stat st {};
        if (::lstat(scratch.file("out/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            outcome.failure = "output folder holds a non-file: " + name;
        else if (name != "1.txt")
            outcome.pictures[name] = size_t(st.st_size);
    }
    return outcome;
}

// The lines of a .contains file, or else of a .txt full text.
std::vector<std::string> expectedSubstrings(const std::string& folder, const Sample& sample)
{
    std::vector<std::string> wanted;
    for (const char* suffix : {".contains", ".txt"}) {
        std::ifstream in(folder + "/expected/" + sample.path + suffix);
        for (std::string line; std::getline(in, line);)
            if (!(line = collapsed(line)).empty())
                wanted.push_back(line);
        if (!wanted.empty())
            break;
    }
    return wanted;
}

}  // namespace

TEST(SampleRegression, EveryDocumentEndsWithADefinedResult)
{
    const std::string folder = QUILLET_SAMPLES_DIR;
    std::vector<Sample> samples;
    for (const auto& row : readTable(folder + "/MANIFEST.tsv"))
        samples.push_back({row[0], row[1], row[6]});
    const auto codeRules = readTable(kTables + "codes.tsv");
    std::set<std::string> knownMisses;
    for (const auto& row : readTable(kTables + "known-misses.tsv"))
        knownMisses.insert(row[0]);
    std::multimap<std::string, std::vector<std::string>> checks;
    for (const auto& row : readTable(kTables + "checks.tsv"))
        checks.emplace(row[0], row);
    if (samples.empty()) {
        // CI must never pass without the samples having run.
        if (std::getenv("CI") != nullptr)
            FAIL() << "CI is set but there are no sample documents at " << folder;
        GTEST_SKIP() << "no sample documents at " << folder;
    }
    const uint32_t flags = sampleFlags();
    const bool strict = flags == kDefaultFlags;
    static const std::set<std::string> formatNames = {"XLS",  "DOC", "PPT", "XLSX",        "DOCX",
                                                      "PPTX", "PDF", "RTF", "NOT_SUPPORT", "(null)"};

    struct Tally {
        int files = 0, substrings = 0, hits = 0;
        std::map<uint32_t, int> codes;
        size_t contentChars = 0, readableChars = 0;
        std::map<std::string, int> properties;  // files that keep each
    };
    std::map<std::string, Tally> tallies;
    for (const Sample& sample : samples) {
        const std::vector<std::string> before = listFolder(folder + "/" + sample.format);
        const Outcome outcome = runSample(folder + "/" + sample.path, flags);
        EXPECT_EQ(listFolder(folder + "/" + sample.format), before) << sample.path << " changed the samples";
        if (!outcome.failure.empty()) {
            ADD_FAILURE() << sample.path << ": " << outcome.failure;
            checks.erase(sample.path);
            continue;
        }
        const bool defined = outcome.code <= quillet::SharedStringsOnly ||
                             (outcome.code >= quillet::Unsupported && outcome.code <= quillet::PdfPageFailure);
        EXPECT_TRUE(defined) << sample.path << ": code " << outcome.code;
        EXPECT_EQ(formatNames.count(outcome.formatName), 1u) << sample.path << ": " << outcome.formatName;
        if ((sample.format == "docx" || sample.format == "xlsx" || sample.format == "pptx") &&
            !sample.hasTag("ole2-encryptedpackage")) {
            std::string name = sample.format;
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            EXPECT_EQ(outcome.formatName, kUnreadablePackages.count(sample.path) ? "(null)" : name) << sample.path;
        }
        for (const auto& rule : codeRules) {
            const std::string& tag = rule[1];
            if (rule[0] == sample.format && (tag.empty() || sample.hasTag(tag) || sample.path == tag)) {
                if (rule[2] != "any") {
                    EXPECT_EQ(std::to_string(outcome.code), rule[2]) << sample.path << " (" << sample.tags << ")";
                }
                break;
            }
        }

        // A success writes text, never NUL characters (UTF-16 read as 8-bit text, for one).
        if (outcome.code == quillet::Success) {
            EXPECT_EQ(outcome.exported.find('\0'), std::string::npos) << sample.path << ": 1.txt holds a NUL";
        }
        if (strict) {
            for (auto [at, last] = checks.equal_range(sample.path); at != last; ++at)
                EXPECT_EQ(failedCheck(at->second, outcome), "") << sample.path;
        }
        checks.erase(sample.path);

        // The text for people is the export's text made readable, whichever way it is asked for.
        if ((flags & quillet::WriteText) != 0 && sample.format != "txt") {
            const char* format = outcome.formatName == "(null)" ? nullptr : outcome.formatName.c_str();
            EXPECT_EQ(outcome.readable, quillet::readable::readableExport(
                                            outcome.exported, quillet::readable::exportIsUtf16(outcome.code, format)))
                << sample.path;
        }
        // Read with its structure, the text is the same, and its parts join up to it.
        EXPECT_EQ(outcome.joinedParts, outcome.readable) << sample.path << ": the parts are not the text";
        Tally& tally = tallies[sample.format];
        for (const char* name : {"title", "author", "modified", "pages"})
            tally.properties[name] += outcome.metadata.find("\"" + std::string(name) + "\":") != std::string::npos;
        ++tally.files;
        ++tally.codes[outcome.code];
        tally.contentChars += codePoints(outcome.content);
        tally.readableChars += codePoints(outcome.readable);
        const std::string text = collapsed(outcome.exported + " " + outcome.content);
        const std::vector<std::string> wanted = expectedSubstrings(folder, sample);
        const size_t missed = std::count_if(
            wanted.begin(), wanted.end(), [&](const std::string& one) { return text.find(one) == std::string::npos; });
        tally.substrings += int(wanted.size());
        tally.hits += int(wanted.size() - missed);
        if (strict && kMinimumHitRate.count(sample.format) && !wanted.empty()) {
            EXPECT_EQ(missed > 0, knownMisses.count(sample.path) == 1)
                << sample.path << (missed ? " misses expected text" : " now finds all: drop it from the known misses");
        }
    }

    for (const auto& [path, row] : checks)
        ADD_FAILURE() << "checks.tsv names " << path << ", which is no sample";

    std::printf("\nflags 0x%X\n%-6s %6s %12s %8s %10s %10s %6s %6s %6s %6s  result codes\n", flags, "format", "files",
                "substrings", "hit rate", "in memory", "readable", "title", "author", "dated", "pages");
    for (const auto& [format, tally] : tallies) {
        std::string codes;
        for (const auto& [code, count] : tally.codes)
            codes += std::to_string(code) + "=" + std::to_string(count) + " ";
        const double rate = tally.substrings == 0 ? 0.0 : 100.0 * tally.hits / tally.substrings;
        const auto kept = [&tally = tally](const char* name) {
            const auto found = tally.properties.find(name);
            return found == tally.properties.end() ? 0 : found->second;
        };
        std::printf("%-6s %6d %6d/%-5d %7.1f%% %10zu %10zu %6d %6d %6d %6d  %s\n", format.c_str(), tally.files,
                    tally.hits, tally.substrings, rate, tally.contentChars, tally.readableChars, kept("title"),
                    kept("author"), kept("modified"), kept("pages"), codes.c_str());
        if (strict && kMinimumHitRate.count(format)) {
            EXPECT_GE(rate, kMinimumHitRate.at(format)) << format << " hit rate fell";
        }
    }
}
