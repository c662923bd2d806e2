// The quillet tool as people run it: output, result codes and exit status.
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(runCli({"export", pdf, dir.file("x/y")}).first.substr(0, 2), "2 ");
    EXPECT_EQ(runCli({"export", rtf, out}).first.substr(0, 5), "4097 ");

    EXPECT_EQ(runCli({"text", txt}), std::make_pair(std::string("h\xC3\xA9llo\n"), 0));
    EXPECT_EQ(runCli({"--help"}).second, 0);
    EXPECT_EQ(runCli({"export", "only-one"}).second, 2);
    EXPECT_EQ(runCli({"export", "a", "b", "--flags", "zz"}).second, 2);
    EXPECT_EQ(runCli({"frobnicate"}),
              std::make_pair(std::string("quillet: unknown command frobnicate (see --help)\n"), 2));
}
