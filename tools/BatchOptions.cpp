#include "BatchOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <thread>

namespace quillet::cli {

const char kBatchUsage[] = "batch    converts every file given and every file under the folders given\n"
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
                           "  --retry STATUS,...     as --resume, but convert again the inputs recorded\n"
                           "                         with one of these statuses (e.g. crash,timeout)\n"
                           "  --quiet                no progress on stderr\n"
                           "  --in-process           convert in this process, without workers (no crash\n"
                           "                         isolation or timeouts; for measurement)\n"
                           "  --text --pictures --no-text --extras --flags N   as for export (default --text)\n"
                           "  --clean                1.txt holds the text as `quillet text` prints it\n"
                           "  --json                 doc.json beside 1.txt holds what `quillet text --json`\n"
                           "                         prints, and each record gains title, author, pages\n";

namespace {

const char* const kStatuses[] = {
    "ok", "empty", "shared-strings-only", "encrypted", "unsupported", "damaged", "error", "crash", "timeout"};

// A comma-separated list of statuses; false for an empty or unknown one.
bool parseStatuses(const char* text, std::set<std::string>& statuses)
{
    if (text == nullptr)
        return false;
    const std::string list = text;
    size_t start = 0;
    for (;;) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string status = list.substr(start, comma - start);
        if (std::find(std::begin(kStatuses), std::end(kStatuses), status) == std::end(kStatuses))
            return false;
        statuses.insert(status);
        if (comma == list.size())
            return true;
        start = comma + 1;
    }
}

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

struct SwitchOption {
    const char* name;
    bool BatchOptions::*field;
};
const SwitchOption kSwitches[] = {{"--resume", &BatchOptions::resume},
                                  {"--quiet", &BatchOptions::quiet},
                                  {"--in-process", &BatchOptions::inProcess},
                                  {"--clean", &BatchOptions::clean},
                                  {"--json", &BatchOptions::json}};

struct FlagOption {
    const char* name;
    uint32_t bits;
};
const FlagOption kFlagOptions[] = {{"--text", 0x10u}, {"--pictures", 0x01u}, {"--extras", 0x110u}};

struct NumberOption {
    const char* name;
    unsigned BatchOptions::*field;
    unsigned long limit;
    bool zeroAllowed;
};
const NumberOption kNumberOptions[] = {{"--jobs", &BatchOptions::jobs, 1024ul, false},
                                       {"--timeout", &BatchOptions::timeoutSeconds, 86400ul * 365, false},
                                       {"--max-docs-per-worker", &BatchOptions::maxDocsPerWorker, 0x7FFFFFFFul, false},
                                       {"--max-memory", &BatchOptions::maxMemoryMb, 0x7FFFFFFFul, true}};

// The flags given: they add to the default --text unless --no-text or
// --flags (the word itself) is among them.
struct GivenFlags {
    uint32_t flags = 0;
    bool noDefault = false;
};

// Reads the option arg, taking value (the next argument, or null) when it
// needs one; sets *tookValue. False with error set on a usage error.
bool readOption(const std::string& arg, const char* value, BatchOptions& options, GivenFlags& flags, bool& tookValue,
                std::string& error)
{
    tookValue = false;
    for (const SwitchOption& option : kSwitches) {
        if (arg == option.name) {
            options.*option.field = true;
            return true;
        }
    }
    for (const FlagOption& option : kFlagOptions) {
        if (arg == option.name) {
            flags.flags |= option.bits;
            return true;
        }
    }
    if (arg == "--no-text") {
        flags.noDefault = true;
        return true;
    }
    unsigned number = 0;
    if (arg == "--out" || arg == "--list") {
        if (value == nullptr || *value == '\0') {
            error = arg + " needs a value";
            return false;
        }
        (arg == "--out" ? options.outDir = value : options.lists.emplace_back(value));
        return tookValue = true;
    }
    if (arg == "--retry") {
        if (!parseStatuses(value, options.retry)) {
            error = "--retry needs statuses separated by commas, of: ok empty shared-strings-only encrypted "
                    "unsupported damaged error crash timeout";
            return false;
        }
        options.resume = true;
        return tookValue = true;
    }
    if (arg == "--flags") {
        if (!parseUnsigned(value, 0xFFFFFFFFul, number)) {
            error = "--flags needs a number";
            return false;
        }
        flags.flags |= number;
        flags.noDefault = true;
        return tookValue = true;
    }
    for (const NumberOption& option : kNumberOptions) {
        if (arg != option.name)
            continue;
        if (!parseUnsigned(value, option.limit, number) || (number == 0 && !option.zeroAllowed)) {
            error = arg + (option.zeroAllowed ? " needs a number" : " needs a positive number") + " up to " +
                    std::to_string(option.limit);
            return false;
        }
        options.*option.field = number;
        return tookValue = true;
    }
    error = "unknown batch option " + arg + " (see --help)";
    return false;
}

}  // namespace

bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error)
{
    GivenFlags flags;
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            bool tookValue = false;
            if (!readOption(arg, i + 1 < argc ? argv[i + 1] : nullptr, options, flags, tookValue, error))
                return false;
            i += tookValue ? 1 : 0;
        }
    }
    options.flags = flags.flags | (flags.noDefault ? 0u : 0x10u);
    if (options.flags == 0) {
        error = "nothing to write: --no-text without --pictures (see --help)";
        return false;
    }
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
