// quillet: the command-line face of libquillet.
#include "BatchOptions.h"
#include "BatchRunner.h"
#include "readable/ReadableText.h"

#include <quillet/quillet.h>

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] = "usage: quillet text [--extras] [--json] [--time-limit S] FILE\n"
                      "       quillet meta [--time-limit S] FILE\n"
                      "       quillet export [options] FILE OUTDIR\n"
                      "       quillet format FILE\n"
                      "       quillet batch --out DIR [options] INPUT...\n"
                      "       quillet --version | --help\n"
                      "\n"
                      "text     prints the document's whole text as UTF-8: every letter kept,\n"
                      "         paragraphs and line breaks on lines of their own, table cells\n"
                      "         separated by tabs, no carriage returns or other control\n"
                      "         characters, no field codes. FILE may be any document quillet reads\n"
                      "         or a .txt file; - reads the document from standard input.\n"
                      "         --extras adds headers, footers, comments and notes.\n"
                      "         --json prints one JSON object instead: format, code, metadata\n"
                      "         (title, author, created, modified, pages...) and parts, the text\n"
                      "         split where the format splits it ({kind, index, name, text}: page,\n"
                      "         sheet, slide, notes, body, headers, footnotes, comments...); the\n"
                      "         parts' texts joined are the text.\n"
                      "meta     prints the document's properties as one JSON object.\n"
                      "export   writes OUTDIR/1.txt as the library does (UTF-8; CR LF line ends\n"
                      "         except for OOXML; Word's own marks kept) and, on request, the\n"
                      "         pictures beside it, creating OUTDIR and its missing parents.\n"
                      "format   names the file's format: DOC XLS PPT DOCX XLSX PPTX PDF RTF,\n"
                      "         NOT_SUPPORT, OPEN_ERR, or (none) for a compound file or ZIP\n"
                      "         archive that holds no known document.\n"
                      "%s"
                      "\n"
                      "Options of text and export may come before or after FILE and OUTDIR.\n"
                      "\n"
                      "export options (default --text):\n"
                      "  --text          0x10   write 1.txt\n"
                      "  --pictures      0x01   write the embedded pictures too (with --no-text,\n"
                      "                         the pictures alone)\n"
                      "  --no-text              no 1.txt\n"
                      "  --extras        0x110  1.txt with headers, footers, comments, notes\n"
                      "  --flags N              the flag word itself (decimal or 0x...); exactly\n"
                      "                         0x1000 refuses PDF files\n"
                      "  --time-limit S         PDF: stop taking pages after S seconds (default 300)\n"
                      "  --utf8-paths           FILE and OUTDIR are UTF-8 whatever the locale\n"
                      "\n"
                      "exit status of text:\n"
                      "  0  the text was written (also when the document holds none)\n"
                      "  1  the text could not be written out\n"
                      "  2  usage error\n"
                      "  3  the file cannot be opened (missing, no permission, a folder)\n"
                      "  4  unsupported: not a format quillet reads, a size outside 512 B..1 GiB,\n"
                      "     or no document inside\n"
                      "  5  encrypted document\n"
                      "  6  damaged document\n"
                      "  7  PDF time limit reached (the text of the pages read is written)\n"
                      "  8  a PDF page could not be parsed (the text before it is written)\n"
                      "\n"
                      "result codes of export (exit status 0 only for 0):\n"
                      "  0     success\n"
                      "  1     spreadsheet written as its unique shared strings only\n"
                      "  2     output folder missing and not creatable, or source not found\n"
                      "  other numbers below 4097: the error number of opening the source, or of\n"
                      "        writing the output (28 disk full, 27 file too large)\n"
                      "  4097  unsupported format, size outside 512 B..1 GiB, or no document inside\n"
                      "  4098  conversion abandoned on damaged data\n"
                      "  4099  document structure missing (Word file, or package without main part)\n"
                      "  4100  spreadsheet without workbook, or unreadable RTF\n"
                      "  4101  PDF refused by flags, or presentation without content\n"
                      "  4102  encrypted document\n"
                      "  4103  PDF time limit reached\n"
                      "  4104  PDF page could not be parsed\n";

const char* meaningOf(uint32_t code)
{
    switch (code) {
    case quillet::Success:
        return "success";
    case quillet::SharedStringsOnly:
        return "spreadsheet written as its unique shared strings only";
    case quillet::OutputFolderMissing:
        return "output folder missing, or source not found";
    case quillet::Unsupported:
        return "unsupported format or no document inside";
    case quillet::ConversionFailed:
        return "conversion abandoned on damaged data";
    case quillet::WordStructureMissing:
        return "document structure missing";
    case quillet::Unreadable:
        return "spreadsheet without workbook, or unreadable RTF";
    case quillet::Refused:
        return "PDF refused, or presentation without content";
    case quillet::Encrypted:
        return "encrypted document";
    case quillet::PdfTimeLimit:
        return "PDF time limit reached";
    case quillet::PdfPageFailure:
        return "PDF page could not be parsed";
    default:
        break;
    }
    return code < quillet::Unsupported ? std::strerror(static_cast<int>(code)) : "unknown code";
}

// The exit status of `quillet text` for a result code (see the usage).
int textStatus(uint32_t code)
{
    if (quillet::readable::hasText(code))
        return 0;
    switch (code) {
    case quillet::Unsupported:
        return 4;
    case quillet::Encrypted:
        return 5;
    case quillet::ConversionFailed:
    case quillet::WordStructureMissing:
    case quillet::Unreadable:
        return 6;
    case quillet::PdfTimeLimit:
        return 7;
    case quillet::PdfPageFailure:
        return 8;
    default:
        return code < quillet::Unsupported ? 3 : 6;
    }
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "quillet: %s\n", message.c_str());
    return 2;
}

bool parseNumber(const char* text, unsigned long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text, &end, 0);
    return errno == 0 && end != text && *end == '\0';
}

// The arguments after the command: options (with the value of those that
// take one) wherever they stand, and the rest in order.
struct Arguments {
    std::vector<std::string> paths;
    bool text = false, noText = false, pictures = false, extras = false, utf8Paths = false, json = false;
    bool flagsGiven = false;
    uint32_t flags = 0;
    int timeLimit = 300;
};

bool parseArguments(int argc, char** argv, bool exportOptions, Arguments& arguments, std::string& error)
{
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            arguments.paths.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--extras") {
            arguments.extras = true;
        } else if (arg == "--json" && !exportOptions) {
            arguments.json = true;
        } else if (arg == "--time-limit" || (exportOptions && arg == "--flags")) {
            unsigned long number = 0;
            if (i + 1 >= argc || !parseNumber(argv[i + 1], number) || number > 0xFFFFFFFFul) {
                error = arg + " needs a number";
                return false;
            }
            ++i;
            if (arg == "--flags") {
                arguments.flags |= static_cast<uint32_t>(number);
                arguments.flagsGiven = true;
            } else if (number > 0x7FFFFFFFul) {
                error = "--time-limit is too large";
                return false;
            } else {
                arguments.timeLimit = static_cast<int>(number);
            }
        } else if (exportOptions &&
                   (arg == "--text" || arg == "--no-text" || arg == "--pictures" || arg == "--utf8-paths")) {
            (arg == "--text"       ? arguments.text
             : arg == "--no-text"  ? arguments.noText
             : arg == "--pictures" ? arguments.pictures
                                   : arguments.utf8Paths) = true;
        } else {
            error = "unknown option " + arg + " (see --help)";
            return false;
        }
    }
    return true;
}

int runFormat(const char* file)
{
    const char* name = getFileFormate(file, 0);
    std::printf("%s\n", name != nullptr ? name : "(none)");
    return name != nullptr && std::strcmp(name, quillet::format::OpenError) == 0 ? 1 : 0;
}

bool writeOut(const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quillet: cannot write the text: %s\n", std::strerror(errno));
        return false;
    }
    return true;
}

// `text` and, with metaOnly, `meta`.
int runText(int argc, char** argv, bool metaOnly)
{
    Arguments arguments;
    std::string error;
    if (!parseArguments(argc, argv, false, arguments, error))
        return fail(error);
    if (metaOnly && (arguments.json || arguments.extras))
        return fail("meta takes no --json or --extras (see --help)");
    if (arguments.paths.size() != 1)
        return fail(std::string(metaOnly ? "meta" : "text") +
                    " needs exactly one FILE, or - for standard input (see --help)");
    const std::string& file = arguments.paths[0];
    quillet::readable::Options options;
    options.extras = arguments.extras;
    options.timeLimitSeconds = arguments.timeLimit;
    options.structure = arguments.json || metaOnly;
    // One document: a PDF gets an engine for its own call, and any other
    // format never loads the engine.
    quillet::readable::Document document;
    if (file == "-") {
        std::string bytes;
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
            bytes.append(buffer, n);
        document = quillet::readable::readDocumentBytes(bytes, options);
    } else {
        document = quillet::readable::readDocument(file, options);
    }
    const int status = textStatus(document.code);
    // JSON carries its own code: it is printed whatever the outcome.
    if (metaOnly) {
        if (!writeOut(document.metadataJson + "\n"))
            return 1;
    } else if (arguments.json) {
        if (!quillet::readable::writeDocumentJson(document, stdout) || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "quillet: cannot write the text: %s\n", std::strerror(errno));
            return 1;
        }
    } else if ((status == 0 || status >= 7) && !writeOut(document.text)) {
        return 1;
    }
    if (status != 0)
        std::fprintf(stderr, "quillet: %s: %s (%u)\n", file == "-" ? "standard input" : file.c_str(),
                     meaningOf(document.code), document.code);
    return status;
}

// The library makes only the last level of an output folder.
void makeParents(const std::string& folder, bool utf8)
{
    const QByteArray native = utf8 ? QFile::encodeName(QString::fromUtf8(folder.c_str())) : QByteArray(folder.c_str());
    std::error_code ignored;
    std::filesystem::path path(native.constData());
    if (!path.has_filename())
        path = path.parent_path();
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ignored);
}

int runExport(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    if (!parseArguments(argc, argv, true, arguments, error))
        return fail(error);
    if (arguments.paths.size() != 2)
        return fail("export needs FILE and OUTDIR (see --help)");
    uint32_t flags = arguments.flags;
    if (!arguments.flagsGiven && !arguments.noText)
        flags |= quillet::WriteText;
    if (arguments.text)
        flags |= quillet::WriteText;
    if (arguments.pictures)
        flags |= quillet::WritePictures;
    // Extras mean nothing without the text they join.
    if (arguments.extras)
        flags |= quillet::WriteExtras | quillet::WriteText;
    if (flags == 0)
        return fail("nothing to write: --no-text without --pictures (see --help)");

    makeParents(arguments.paths[1], arguments.utf8Paths);
    // No engine of the thread's own: see runText.
    const uint32_t code = export2Txt(arguments.paths[0].c_str(), arguments.paths[1].c_str(),
                                     arguments.utf8Paths ? 1 : 0, flags, arguments.timeLimit);
    std::printf("%u %s\n", code, meaningOf(code));
    return code == quillet::Success ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fprintf(argc < 2 ? stderr : stdout, kUsage, quillet::cli::kBatchUsage);
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    if (command == "--version") {
        std::printf("quillet %s\n", QUILLET_VERSION);
        return 0;
    }
    if (command == "format") {
        if (argc != 3)
            return fail("format needs exactly one FILE (see --help)");
        return runFormat(argv[2]);
    }
    if (command == "text" || command == "meta")
        return runText(argc - 2, argv + 2, command == "meta");
    if (command == "export")
        return runExport(argc - 2, argv + 2);
    if (command == "batch")
        return quillet::cli::runBatch(argc - 2, argv + 2);
    return fail("unknown command " + command + " (see --help)");
}
