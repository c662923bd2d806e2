// Runs every real sample document through the three document calls, each in
// a child process under a watchdog, and reports how much expected text came out.
#include <quillet/quillet.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quillet::test;

namespace {

constexpr int kSecondsPerFile = 180;

struct Sample {
    std::string path;    // relative to the samples folder
    std::string format;  // doc, xls, ..., other
    std::string tags;
};

struct Outcome {
    bool finished = false;
    std::string failure;
    uint32_t code = 0;
    std::string formatName;
    std::string exported;  // 1.txt after the call
    std::string content;   // quilletGetFileContent, UTF-8
};

std::string samplesFolder()
{
    return QUILLET_SAMPLES_DIR;
}

std::vector<Sample> readManifest(const std::string& folder)
{
    std::vector<Sample> samples;
    std::ifstream manifest(folder + "/MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // header
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream row(line);
        std::string field;
        while (std::getline(row, field, '\t'))
            fields.push_back(field);
        if (fields.size() >= 2)
            samples.push_back({fields[0], fields[1], fields.size() > 6 ? fields[6] : ""});
    }
    return samples;
}

bool isDefinedCode(uint32_t code)
{
    return code == quillet::Success || code == quillet::SharedStringsOnly ||
           (code >= quillet::Unsupported && code <= quillet::PdfPageFailure);
}

bool isDefinedFormatName(const std::string& name)
{
    static const std::set<std::string> names = {"XLS", "DOC", "PPT", "XLSX", "DOCX", "PPTX",
                                                "PDF", "RTF", "NOT_SUPPORT", "(null)"};
    return names.count(name) != 0;
}

// The child: the three calls, results into files of the result folder.
[[noreturn]] void runChild(const std::string& source, const std::string& scratch, const std::string& results)
{
    if (::chdir(scratch.c_str()) != 0)
        ::_exit(3);
    quilletInitialize();
    const uint32_t code = export2Txt(source.c_str(), (scratch + "/out").c_str(), 0, 0x111, 30);
    const char* name = getFileFormate(source.c_str(), 0);
    QString text;
    quilletGetFileContent(QString::fromLocal8Bit(source.c_str()), text);
    quilletDestory();
    writeFile(results + "/code", std::to_string(code));
    writeFile(results + "/format", name != nullptr ? name : "(null)");
    writeFile(results + "/content", text.toUtf8().toStdString());
    ::_exit(0);
}

Outcome runSample(const std::string& source)
{
    TempDir scratch;
    TempDir results;
    Outcome outcome;
    const pid_t child = ::fork();
    if (child < 0) {
        outcome.failure = "fork failed";
        return outcome;
    }
    if (child == 0)
        runChild(source, scratch.path(), results.path());

    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kSecondsPerFile);
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            outcome.failure = "hang: still running after " + std::to_string(kSecondsPerFile) + " s";
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFSIGNALED(status)) {
        outcome.failure = "crash: signal " + std::to_string(WTERMSIG(status));
        return outcome;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        outcome.failure = "child exit status " + std::to_string(WEXITSTATUS(status)) + " (sanitizer report?)";
        return outcome;
    }

    outcome.finished = true;
    outcome.code = static_cast<uint32_t>(std::stoul(readFile(results.file("code"))));
    outcome.formatName = readFile(results.file("format"));
    outcome.content = readFile(results.file("content"));
    outcome.exported = readFile(scratch.file("out/1.txt"));

    // Nothing outside the output folder, and nothing but files inside it.
    const std::vector<std::string> top = listFolder(scratch.path());
    if (top != std::vector<std::string>{"out"})
        outcome.failure = "wrote outside the output folder";
    for (const std::string& name : listFolder(scratch.file("out"))) {
        struct stat st {};
        if (::lstat(scratch.file("out/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            outcome.failure = "output folder holds a non-file: " + name;
    }
    return outcome;
}

std::string collapsed(const std::string& text)
{
    std::string out;
    bool space = false;
    for (unsigned char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            space = true;
            continue;
        }
        if (space && !out.empty())
            out += ' ';
        space = false;
        out += static_cast<char>(c);
    }
    return out;
}

// Expected substrings: the lines of a .contains file, or of a .txt full text.
std::vector<std::string> expectedSubstrings(const std::string& folder, const Sample& sample)
{
    std::vector<std::string> wanted;
    for (const char* suffix : {".contains", ".txt"}) {
        std::ifstream in(folder + "/expected/" + sample.path + suffix);
        std::string line;
        while (std::getline(in, line)) {
            line = collapsed(line);
            if (!line.empty())
                wanted.push_back(line);
        }
        if (!wanted.empty())
            break;
    }
    return wanted;
}

// getFileFormate on a ZIP package names it after its main part: the folder's
// name in capitals, except for these, which have no central directory.
std::string expectedPackageFormatName(const Sample& sample)
{
    static const std::map<std::string, std::string> names = {{"docx", "DOCX"}, {"xlsx", "XLSX"}, {"pptx", "PPTX"}};
    static const std::set<std::string> unreadable = {
        "docx/poi__clusterfuzz-testcase-minimized-POIXWPFFuzzer-5313273089884160.docx",
        "docx/poi__truncated62886.docx",
        "xlsx/poi__clusterfuzz-testcase-minimized-POIXSSFFuzzer-5089447305609216.xlsx",
        "pptx/poi__Divino_Revelado.pptx",
        "pptx/poi__clusterfuzz-testcase-minimized-POIXSLFFuzzer-6254434927378432.pptx",
    };
    const auto found = names.find(sample.format);
    // Encrypted packages are compound files; not a package name's business.
    if (found == names.end() || sample.tags.find("ole2-encryptedpackage") != std::string::npos)
        return "";
    return unreadable.count(sample.path) != 0 ? "(null)" : found->second;
}

struct FormatTally {
    int files = 0;
    int substrings = 0;
    int hits = 0;
    std::map<uint32_t, int> codes;
};

}  // namespace

TEST(SampleRegression, EveryDocumentEndsWithADefinedResult)
{
    const std::string folder = samplesFolder();
    std::vector<Sample> samples = readManifest(folder);
    if (samples.empty())
        GTEST_SKIP() << "no sample documents at " << folder;

    std::map<std::string, FormatTally> tallies;
    for (const Sample& sample : samples) {
        const std::string source = folder + "/" + sample.path;
        const std::vector<std::string> before = listFolder(folder + "/" + sample.format);
        const Outcome outcome = runSample(source);
        EXPECT_TRUE(outcome.failure.empty()) << sample.path << ": " << outcome.failure;
        EXPECT_EQ(listFolder(folder + "/" + sample.format), before) << sample.path << " changed the samples";
        if (!outcome.finished)
            continue;
        EXPECT_TRUE(isDefinedCode(outcome.code)) << sample.path << ": code " << outcome.code;
        EXPECT_TRUE(isDefinedFormatName(outcome.formatName)) << sample.path << ": " << outcome.formatName;
        const std::string packageName = expectedPackageFormatName(sample);
        if (!packageName.empty()) {
            EXPECT_EQ(outcome.formatName, packageName) << sample.path;
        }

        FormatTally& tally = tallies[sample.format];
        ++tally.files;
        ++tally.codes[outcome.code];
        const std::string text = collapsed(outcome.exported + " " + outcome.content);
        for (const std::string& wanted : expectedSubstrings(folder, sample)) {
            ++tally.substrings;
            if (text.find(wanted) != std::string::npos)
                ++tally.hits;
        }
    }

    std::printf("\n%-6s %6s %12s %8s  result codes\n", "format", "files", "substrings", "hit rate");
    for (const auto& [format, tally] : tallies) {
        std::string codes;
        for (const auto& [code, count] : tally.codes)
            codes += std::to_string(code) + "x" + std::to_string(count) + " ";
        const double rate = tally.substrings == 0 ? 0.0 : 100.0 * tally.hits / tally.substrings;
        std::printf("%-6s %6d %6d/%-5d %7.1f%%  %s\n", format.c_str(), tally.files, tally.hits,
                    tally.substrings, rate, codes.c_str());
    }
}
