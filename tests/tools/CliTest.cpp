// The quillet tool as people run it: output, result codes and exit status.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

using quillet::test::TempDir;
using quillet::test::writeFile;

namespace {

struct CliRun {
    std::string out;
    int status = -1;
};

CliRun runCli(const std::string& arguments)
{
    CliRun run;
    const std::string command = std::string(QUILLET_CLI_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

}  // namespace

TEST(Cli, FormatAnswers)
{
    TempDir dir;
    writeFile(dir.file("a.pdf"), "%PDF-1.5");
    writeFile(dir.file("a.rtf"), "{\\rtf1}");
    writeFile(dir.file("a.bin"), "hello");
    EXPECT_EQ(runCli("format " + dir.file("a.pdf")).out, "PDF\n");
    EXPECT_EQ(runCli("format " + dir.file("a.rtf")).out, "RTF\n");
    EXPECT_EQ(runCli("format " + dir.file("a.bin")).out, "NOT_SUPPORT\n");
    const CliRun missing = runCli("format " + dir.file("none"));
    EXPECT_EQ(missing.out, "OPEN_ERR\n");
    EXPECT_EQ(missing.status, 1);
}

TEST(Cli, ExportPrintsTheCodeAndExitsNonZeroOnFailure)
{
    TempDir dir;
    std::string pdf = "%PDF-1.4\n";
    pdf.resize(600, ' ');
    writeFile(dir.file("a.pdf"), pdf);
    writeFile(dir.file("small.doc"), std::string(511, 'x'));
    const CliRun refused = runCli("export " + dir.file("a.pdf") + " " + dir.file("out") + " --flags 0x1000");
    EXPECT_EQ(refused.out.substr(0, 5), "4101 ");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(runCli("export " + dir.file("none.doc") + " " + dir.file("out")).out.substr(0, 2), "2 ");
    EXPECT_EQ(runCli("export " + dir.file("a.pdf") + " " + dir.file("x/y")).out.substr(0, 2), "2 ");
    EXPECT_EQ(runCli("export " + dir.file("small.doc") + " " + dir.file("out")).out.substr(0, 5), "4097 ");
}

TEST(Cli, TextOfPlainFilesAndUsageErrors)
{
    TempDir dir;
    writeFile(dir.file("t.txt"), "\xEF\xBB\xBFh\xC3\xA9llo\n");
    const CliRun text = runCli("text " + dir.file("t.txt"));
    EXPECT_EQ(text.out, "h\xC3\xA9llo\n");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(runCli("--help").status, 0);
    EXPECT_EQ(runCli("export only-one").status, 2);
    EXPECT_EQ(runCli("export a b --flags zz").status, 2);
    const CliRun unknown = runCli("frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "quillet: unknown command frobnicate (see --help)\n");
}
