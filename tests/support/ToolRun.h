#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillet::test {

// The quillet command-line tool run as a child process.
struct ToolLaunch {
    std::vector<std::string> args;                                 // after the tool's own path
    std::string input;                                             // its standard input
    std::vector<std::pair<std::string, std::string>> environment;  // set in the child
    std::function<void(pid_t)> whileRunning;                       // called once it started
    // When not 0: no file may grow past this many bytes (SIGXFSZ ignored, so
    // writes beyond fail with EFBIG), as on a small full disk.
    unsigned long fileSizeLimit = 0;
};

struct ToolRun {
    int status = -1;  // the exit status, -1 when a signal ended it
    std::string out;
    std::string err;
};

ToolRun runTool(const ToolLaunch& launch);

}  // namespace quillet::test
