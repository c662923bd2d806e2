#include "BatchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace quillet::cli {

const char kBatchUsage[] =
    "       quillet batch --out DIR [options] INPUT...\n"
    "\n"
    "batch    converts every file given and every file under the folders given\n"
    "         (walked recursively in sorted order), each in a worker process,\n"
    "         into DIR/<name>-<hash>/1.txt, and appends one JSON line per document\n"
    "         to DIR/results.jsonl. Exit status 0 when the batch ran, whatever\n"
    "         single documents did; 2 for usage errors.\n"
    "  --out DIR              output folder (made when missing)\n"
    "  --list FILE            also convert the paths in FILE, one a line (- for stdin)\n"
    "  --jobs N               worker processes (default: the number of cores)\n"
    "  --timeout S            kill a conversion after S seconds (default 60)\n"
    "  --max-docs-per-worker N  replace a worker after N documents (default 1000)\n"
    "  --max-memory MB        address-space limit of a worker (default 4096; 0: none)\n"
    "  --resume               skip inputs recorded in results.jsonl with the same\n"
    "                         size and modification time; append to it\n"
    "  --quiet                no progress on stderr\n"
    "  --in-process           convert in this process, without workers (no crash\n"
    "                         isolation or timeouts; for measurement)\n"
    "  --text --pictures --extras --flags N   as for export\n";

namespace {

bool parseUnsigned(const char* text, unsigned long limit, unsigned& value)
{
    if (text == nullptr || *text == '\0' || *text == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long number = std::strtoul(text, &end, 0);
    if (errno != 0 || *end != '\0' || number > limit)
        return false;
    value = static_cast<unsigned>(number);
    return true;
}

}  // namespace

bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error)
{
    uint32_t flags = 0;
    bool flagsGiven = false;
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.inputs.push_back(arg);
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned number = 0;
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--text" || arg == "--pictures" || arg == "--extras") {
            flags |= arg == "--text" ? 0x10u : arg == "--pictures" ? 0x01u : 0x100u;
            flagsGiven = true;
        } else if (arg == "--resume") {
            options.resume = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--in-process") {
            options.inProcess = true;
        } else if (arg == "--out" || arg == "--list") {
            if (value == nullptr || *value == '\0') {
                error = arg + " needs a value";
                return false;
            }
            (arg == "--out" ? options.outDir = value : options.lists.emplace_back(value));
            ++i;
        } else if (arg == "--flags") {
            if (!parseUnsigned(value, 0xFFFFFFFFul, number)) {
                error = "--flags needs a number";
                return false;
            }
            flags |= number;
            flagsGiven = true;
            ++i;
        } else if (arg == "--jobs" || arg == "--timeout" || arg == "--max-docs-per-worker" ||
                   arg == "--max-memory") {
            const bool zeroAllowed = arg == "--max-memory";
            const unsigned long limit = arg == "--timeout" ? 86400ul * 365 : arg == "--jobs" ? 1024ul : 0x7FFFFFFFul;
            if (!parseUnsigned(value, limit, number) || (number == 0 && !zeroAllowed)) {
                error = arg + (zeroAllowed ? " needs a number" : " needs a positive number") +
                        " up to " + std::to_string(limit);
                return false;
            }
            (arg == "--jobs" ? options.jobs : arg == "--timeout" ? options.timeoutSeconds
                 : arg == "--max-memory" ? options.maxMemoryMb : options.maxDocsPerWorker) = number;
            ++i;
        } else {
            error = "unknown batch option " + arg + " (see --help)";
            return false;
        }
    }
    if (flagsGiven)
        options.flags = flags;
    if (options.outDir.empty()) {
        error = "batch needs --out DIR (see --help)";
        return false;
    }
    if (options.inputs.empty() && options.lists.empty()) {
        error = "batch needs at least one INPUT or --list FILE (see --help)";
        return false;
    }
    if (options.jobs == 0) {
        const unsigned cores = std::thread::hardware_concurrency();
        options.jobs = cores > 0 ? cores : 1;
    }
    return true;
}

}  // namespace quillet::cli
