// The quillet tool as people run it: output, result codes and exit status.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

using namespace quillet::test;

namespace {

// The tool's combined output and exit status.
std::pair<std::string, int> runCli(const std::string& arguments)
{
    std::string out;
    FILE* pipe = ::popen((std::string(QUILLET_CLI_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int raw = pipe != nullptr ? ::pclose(pipe) : -1;
    return {out, WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
}

}  // namespace

TEST(Cli, FormatExportTextAndUsage)
{
    TempDir dir;
    writeFile(dir.file("a.pdf"), "%PDF-1.4\n" + std::string(600, ' '));
    writeFile(dir.file("a.rtf"), "{\\rtf1}");
    writeFile(dir.file("t.txt"), "\xEF\xBB\xBFh\xC3\xA9llo\n");
    const std::string out = " " + dir.file("out");
    EXPECT_EQ(runCli("format " + dir.file("a.pdf")).first, "PDF\n");
    EXPECT_EQ(runCli("format " + dir.file("a.rtf")).first, "RTF\n");
    EXPECT_EQ(runCli("format " + dir.file("t.txt")).first, "NOT_SUPPORT\n");
    EXPECT_EQ(runCli("format " + dir.file("none")), std::make_pair(std::string("OPEN_ERR\n"), 1));

    EXPECT_EQ(runCli("export " + dir.file("a.pdf") + out + " --flags 0x1000"),
              std::make_pair(std::string("4101 PDF refused, or presentation without content\n"), 1));
    EXPECT_EQ(runCli("export " + dir.file("none.doc") + out).first.substr(0, 2), "2 ");
    EXPECT_EQ(runCli("export " + dir.file("a.pdf") + " " + dir.file("x/y")).first.substr(0, 2), "2 ");
    EXPECT_EQ(runCli("export " + dir.file("a.rtf") + out).first.substr(0, 5), "4097 ");

    EXPECT_EQ(runCli("text " + dir.file("t.txt")), std::make_pair(std::string("h\xC3\xA9llo\n"), 0));
    EXPECT_EQ(runCli("--help").second, 0);
    EXPECT_EQ(runCli("export only-one").second, 2);
    EXPECT_EQ(runCli("export a b --flags zz").second, 2);
    EXPECT_EQ(runCli("frobnicate"),
              std::make_pair(std::string("quillet: unknown command frobnicate (see --help)\n"), 2));
}
