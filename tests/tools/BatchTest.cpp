// `quillet batch` as people run it: worker isolation, results.jsonl, resume,
// progress output and hostile inputs.
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace quillet::test;

namespace {

// `quillet batch` with these arguments; hooks turn on the worker's test-only
// abort and hang markers.
ToolRun batch(std::vector<std::string> args, bool hooks = false, ToolLaunch launch = {})
{
    launch.args = std::move(args);
    launch.args.insert(launch.args.begin(), "batch");
    launch.environment.emplace_back("QUILLET_BATCH_TEST_HOOKS", hooks ? "1" : "");
    return runTool(launch);
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        result.push_back(text.substr(start, end - start));
    if (start < text.size())
        result.push_back(text.substr(start));  // an unfinished line: the tests reject it
    return result;
}

// results.jsonl by file name; every line must be a whole JSON object.
std::map<std::string, QJsonObject> records(const std::string& dir, size_t* count = nullptr)
{
    const std::string text = readFile(dir + "/results.jsonl");
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "unfinished last line";
    std::map<std::string, QJsonObject> byName;
    for (const std::string& line : lines(text)) {
        const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        EXPECT_FALSE(object.isEmpty()) << line;
        const std::string path = object.value(QStringLiteral("path")).toString().toStdString();
        byName[path.substr(path.rfind('/') + 1)] = object;
    }
    if (count != nullptr)
        *count = lines(text).size();
    return byName;
}

std::string field(const QJsonObject& record, const char* name)
{
    const QJsonValue value = record.value(QLatin1String(name));
    return value.isString() ? value.toString().toStdString()
           : value.isNull() ? "null"
                            : std::to_string(static_cast<long long>(value.toDouble()));
}

void copyWord(const std::string& name, const std::string& to)
{
    writeFile(to, readFile(std::string(QUILLET_TEST_DATA) + "/word/" + name));
}

}  // namespace

TEST(Batch, CrashAndHangAreRecordedAndResumeRedoesOnlyChangedInputs)
{
    TempDir dir;
    const std::string in = dir.file("in");
    ::mkdir(in.c_str(), 0755);
    ::mkdir((in + "/sub").c_str(), 0755);
    copyWord("english.doc", in + "/english.doc");
    copyWord("chinese.doc", in + "/sub/chinese.doc");
    copyWord("stories.doc", in + "/stories.doc");
    copyWord("english.doc", in + "/bad.abort");
    copyWord("english.doc", in + "/slow.hang");
    writeFile(in + "/notes.bin", std::string(600, 'x'));
    const std::string out = dir.file("out");

    // One worker queues the next document behind the one that crashes or
    // hangs: that one must run again on the replacement, not get lost.
    ToolRun run;
    for (const char* jobs : {"1", "2"}) {
        run =
            batch({"--out", out, "--jobs", jobs, "--timeout", "4", "--max-docs-per-worker", "2", "--quiet", in}, true);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("quillet: 6/6"), std::string::npos) << "--quiet shows no progress";
        EXPECT_NE(run.out.find("total"), std::string::npos) << run.out;

        size_t count = 0;
        auto byName = records(out, &count);
        EXPECT_EQ(count, 6u);
        const std::map<std::string, std::string> statuses{{"english.doc", "ok"},    {"chinese.doc", "ok"},
                                                          {"stories.doc", "ok"},    {"bad.abort", "crash"},
                                                          {"slow.hang", "timeout"}, {"notes.bin", "unsupported"}};
        std::set<std::string> workers;
        for (const auto& [name, status] : statuses) {
            const QJsonObject& record = byName[name];
            EXPECT_EQ(field(record, "status"), status) << name << " with jobs " << jobs;
            workers.insert(field(record, "worker"));
            const std::string folder = out + "/" + field(record, "out");
            if (name != "notes.bin") {
                EXPECT_EQ(field(record, "format"), "DOC") << name;
            }
            if (status == "ok") {
                EXPECT_EQ(field(record, "code"), "0");
                EXPECT_GT(std::stoll(field(record, "chars")), 20) << name;
                EXPECT_TRUE(fileExists(folder + "/1.txt")) << name;
            } else if (status != "unsupported") {
                EXPECT_EQ(field(record, "code"), "null") << name;
                EXPECT_FALSE(fileExists(folder)) << "partial output of " << name << " stays behind";
            }
        }
        EXPECT_EQ(field(byName["notes.bin"], "size"), "600");
        EXPECT_EQ(field(byName["notes.bin"], "code"), "4097");
        EXPECT_GE(workers.size(), 4u) << "crashed and recycled workers are replaced";
    }

    // Stale input, a changed size, and half a line left by a killed batch.
    ::utimensat(AT_FDCWD, (in + "/stories.doc").c_str(), nullptr, 0);
    writeFile(in + "/notes.bin", std::string(700, 'x'));
    const std::string before = readFile(out + "/results.jsonl");
    writeFile(out + "/results.jsonl", before + "{\"path\":\"/half");
    run = batch({"--out", out, "--resume", "--quiet", in}, true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("4 skipped as already recorded"), std::string::npos) << run.out;
    const std::string after = readFile(out + "/results.jsonl");
    ASSERT_EQ(after.substr(0, before.size()), before);
    std::set<std::string> redone;
    for (const std::string& line : lines(after.substr(before.size())))
        redone.insert(line.substr(0, line.find("\",\"size\"")).substr(line.rfind('/', line.find("\",\"size\"")) + 1));
    EXPECT_EQ(redone, (std::set<std::string>{"stories.doc", "notes.bin"}));
    EXPECT_EQ(field(records(out)["notes.bin"], "size"), "700");

    run = batch({"--out", out, "--resume", "--quiet", in}, true);
    EXPECT_EQ(readFile(out + "/results.jsonl"), after) << "a second resume converts nothing";
}

// A worker killed from outside is no fault of its document: --retry converts
// such records again, and nothing else.
TEST(Batch, RetryConvertsAgainOnlyTheStatusesNamed)
{
    TempDir dir;
    const std::string in = dir.file("in"), out = dir.file("out");
    ::mkdir(in.c_str(), 0755);
    copyWord("english.doc", in + "/a.doc");
    copyWord("english.doc", in + "/killed.abort");
    writeFile(in + "/notes.bin", std::string(600, 'x'));
    ASSERT_EQ(batch({"--out", out, "--quiet", in}, true).status, 0);
    EXPECT_EQ(field(records(out)["killed.abort"], "status"), "crash");

    ToolRun run = batch({"--out", out, "--retry", "timeout,crash", "--quiet", in});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 skipped as already recorded"), std::string::npos) << run.out;
    size_t count = 0;
    auto byName = records(out, &count);
    EXPECT_EQ(count, 4u) << "the new record is appended";
    EXPECT_EQ(field(byName["killed.abort"], "status"), "ok") << "the last record counts";
    EXPECT_EQ(field(byName["notes.bin"], "status"), "unsupported");

    const std::string log = readFile(out + "/results.jsonl");
    EXPECT_EQ(batch({"--out", out, "--retry", "crash", "--quiet", in}).status, 0);
    EXPECT_EQ(batch({"--out", out, "--resume", "--quiet", in}).status, 0);
    EXPECT_EQ(readFile(out + "/results.jsonl"), log) << "nothing recorded crash any more";
    for (const char* wrong : {"", "crash,", "crashed", "ok,,error"})
        EXPECT_EQ(batch({"--out", out, "--retry", wrong, in}).status, 2) << wrong;
}

TEST(Batch, HostileInputsAndOddNamesEndInDefinedRecords)
{
    TempDir dir;
    const std::string in = dir.file("in");
    ::mkdir(in.c_str(), 0755);
    ::mkdir((in + "/deep").c_str(), 0755);
    copyWord("english.doc", in + "/deep/a.doc");
    copyWord("stories.doc", in + "/\xff\xfe.doc");
    const std::vector<std::string> names{"quote\".doc",
                                         "back\\slash.doc",
                                         "new\nline.doc",
                                         "tab\tand\x01.doc",
                                         "\xC3\xBCml\xC3\xA4ut \xE4\xB8\xAD.doc",
                                         ".hidden",
                                         std::string(200, 'n') + ".doc",
                                         "same?name.doc",
                                         "same_name.doc",
                                         "-dash.doc"};
    for (const std::string& name : names)
        copyWord("stories.doc", in + "/" + name);
    EXPECT_EQ(::symlink("..", (in + "/deep/loop").c_str()), 0);
    EXPECT_EQ(::symlink("gone.doc", (in + "/dangling.doc").c_str()), 0);
    EXPECT_EQ(::mkfifo((in + "/pipe.doc").c_str(), 0600), 0);
    // The output folder lies inside the input and is walked past, also when
    // it already holds output from an earlier run.
    const std::string out = in + "/out";
    const std::string listed = dir.file("listed.doc");
    copyWord("chinese.doc", listed);
    const std::vector<std::string> args{"--out", out,      "--quiet",       "--list",          "-",
                                        in,      in + "/", in + "/deep/..", in + "/deep/a.doc"};
    ToolLaunch launch;
    launch.input = listed + "\n" + dir.file("vanished.doc") + "\r\n\n" + listed + "\n";
    for (int pass = 0; pass < 2; ++pass) {
        const ToolRun run = batch(args, false, launch);
        ASSERT_EQ(run.status, 0) << run.err;
        size_t count = 0;
        auto byName = records(out, &count);
        EXPECT_EQ(count, 5u + names.size()) << "a.doc, the non-UTF-8 name, the dangling link, the listed and the "
                                               "vanished file, and the odd names";
        EXPECT_EQ(field(byName["a.doc"], "status"), "ok");
        EXPECT_EQ(field(byName["listed.doc"], "status"), "ok");
        // The stray bytes survive as escapes, so a resume can find the file again.
        const std::string log = readFile(out + "/results.jsonl");
        const size_t stray = log.find("/\\udcff\\udcfe.doc\"");
        ASSERT_NE(stray, std::string::npos) << log;
        EXPECT_NE(log.substr(stray, log.find('\n', stray) - stray).find("\"status\":\"ok\""), std::string::npos);
        for (const char* missing : {"dangling.doc", "vanished.doc"}) {
            EXPECT_EQ(field(byName[missing], "status"), "error") << missing;
            EXPECT_EQ(field(byName[missing], "code"), "2") << missing;
            EXPECT_EQ(field(byName[missing], "size"), "null") << missing;
        }
        std::set<std::string> folders;
        for (const std::string& name : names) {
            const QJsonObject& record = byName[name];
            // The library takes a backslash for a separator, as on Windows.
            const bool addressable = name.find('\\') == std::string::npos;
            EXPECT_EQ(field(record, "status"), addressable ? "ok" : "error") << name;
            const std::string folder = field(record, "out");
            EXPECT_TRUE(folders.insert(folder).second) << "shared folder " << folder;
            EXPECT_LE(folder.size(), 80u);
            EXPECT_EQ(folder.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-"),
                      std::string::npos)
                << folder;
            EXPECT_NE(folder[0], '.') << folder;
            EXPECT_EQ(fileExists(out + "/" + folder + "/1.txt"), addressable) << name;
        }
    }
    const std::string before = readFile(out + "/results.jsonl");
    const ToolRun resumed = batch({"--out", out, "--resume", "--quiet", in});
    EXPECT_NE(resumed.out.find("0 documents in"), std::string::npos) << resumed.out;
    EXPECT_EQ(readFile(out + "/results.jsonl"), before);

    // Output that cannot be written stops the batch with a clear message, not a torn line.
    const std::string full = dir.file("full");
    ::mkdir(full.c_str(), 0755);
    EXPECT_EQ(::symlink("/dev/full", (full + "/results.jsonl").c_str()), 0);
    writeFile(dir.file("file"), "x");
    for (const auto& [target, message] : {std::pair<std::string, std::string>{full, "No space left on device"},
                                          {dir.file("file/out"), "cannot create output folder"}}) {
        const ToolRun stopped = batch({"--out", target, "--quiet", in});
        EXPECT_EQ(stopped.status, 1);
        EXPECT_NE(stopped.err.find(message), std::string::npos) << stopped.err;
    }
}

TEST(Batch, InterruptLosesOnlyTheDocumentsInFlight)
{
    TempDir dir;
    const std::string in = dir.file("in");
    ::mkdir(in.c_str(), 0755);
    copyWord("english.doc", in + "/a.doc");
    copyWord("english.doc", in + "/b.hang");
    copyWord("english.doc", in + "/c.doc");
    const std::string out = dir.file("out");
    ToolLaunch launch;
    launch.whileRunning = [&out](pid_t pid) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (lines(readFile(out + "/results.jsonl")).size() < 1 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(pid, SIGINT);
    };
    ToolRun run = batch({"--out", out, "--jobs", "1", "--quiet", in}, true, launch);
    EXPECT_EQ(run.status, 128 + SIGINT);
    EXPECT_NE(run.err.find("--resume"), std::string::npos) << run.err;
    auto byName = records(out);
    ASSERT_EQ(byName.size(), 1u);
    EXPECT_EQ(field(byName["a.doc"], "status"), "ok");

    run = batch({"--out", out, "--resume", "--quiet", in});  // without the hooks b.hang is a Word file
    EXPECT_EQ(run.status, 0);
    byName = records(out);
    EXPECT_EQ(byName.size(), 3u);
    EXPECT_EQ(field(byName["b.hang"], "status"), "ok");
}

TEST(Batch, ProgressLinesAndUsageErrors)
{
    TempDir dir;
    copyWord("english.doc", dir.file("a.doc"));
    ToolRun run = batch({"--out", dir.file("out"), dir.file("a.doc")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("quillet: 1/1 "), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos) << "no bar off a terminal";
    EXPECT_NE(run.err.find(", ok 1\n"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("DOC"), std::string::npos) << run.out;

    const std::vector<std::vector<std::string>> cases{
        {dir.path()},
        {"--out", dir.file("o")},
        {"--out", dir.file("o"), "--jobs", "0", dir.path()},
        {"--out", dir.file("o"), "--timeout", "soon", dir.path()},
        {"--out", dir.file("o"), "--max-memory", "-1", dir.path()},
        {"--out", dir.file("o"), "--list", dir.file("no-list")},
        {"--out"},
    };
    for (const auto& args : cases) {
        run = batch(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_EQ(run.err.rfind("quillet: ", 0), 0u) << run.err;
    }
}

TEST(Batch, ConcurrentResumingBatchesShareOneLog)
{
    TempDir dir;
    const std::string out = dir.file("out");
    std::vector<std::string> inputs;
    for (const char* part : {"a", "b", "c"}) {
        const std::string in = dir.file(part);
        ::mkdir(in.c_str(), 0755);
        for (int i = 0; i < 300; ++i)
            writeFile(in + "/" + std::to_string(i) + ".txt", std::string(600, 'x'));
        inputs.push_back(in);
    }
    // In one process each, so appends come as fast as they can.
    std::vector<std::thread> batches;
    std::vector<int> statuses(inputs.size(), -1);
    for (size_t i = 0; i < inputs.size(); ++i)
        batches.emplace_back([&, i] {
            statuses[i] = batch({"--out", out, "--resume", "--in-process", "--quiet", inputs[i]}).status;
        });
    for (std::thread& batch : batches)
        batch.join();
    EXPECT_EQ(statuses, (std::vector<int>{0, 0, 0}));
    size_t count = 0;
    size_t broken = 0;
    for (const std::string& line : lines(readFile(out + "/results.jsonl"))) {
        ++count;
        broken += QJsonDocument::fromJson(QByteArray::fromStdString(line)).object().isEmpty() ? 1 : 0;
    }
    EXPECT_EQ(count, 900u);
    EXPECT_EQ(broken, 0u);
}
