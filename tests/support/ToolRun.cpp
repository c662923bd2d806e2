#include "support/ToolRun.h"

#include "support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#ifndef QUILLET_CLI_PATH
#define QUILLET_CLI_PATH "quillet"  // builds of the benchmarks alone
#endif

namespace quillet::test {

ToolRun runTool(const ToolLaunch& launch)
{
    // Files rather than pipes: nothing to drain while the tool runs.
    TempDir streams;
    writeFile(streams.file("in"), launch.input);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const char* names[] = {"in", "out", "err"};
        for (int fd = 0; fd < 3; ++fd) {
            const int file = ::open(streams.file(names[fd]).c_str(), fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT, 0600);
            ::dup2(file, fd);
        }
        if (launch.fileSizeLimit != 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{launch.fileSizeLimit, launch.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        for (const auto& [name, value] : launch.environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(QUILLET_CLI_PATH)};
        for (const std::string& arg : launch.args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (launch.whileRunning)
        launch.whileRunning(pid);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return ToolRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(streams.file("out")),
                   readFile(streams.file("err"))};
}

}  // namespace quillet::test
