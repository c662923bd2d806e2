// quillet: the command-line face of libquillet.
#include "BatchOptions.h"
#include "BatchRunner.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: quillet format FILE\n"
                      "       quillet text FILE\n"
                      "       quillet export FILE OUTDIR [--text] [--pictures] [--extras] [--flags N]\n"
                      "                                  [--time-limit S] [--utf8-paths]\n"
                      "%s"
                      "\n"
                      "format   names the file's format: DOC XLS PPT DOCX XLSX PPTX PDF RTF,\n"
                      "         NOT_SUPPORT, OPEN_ERR, or (none) for a compound file or ZIP\n"
                      "         archive that holds no known document.\n"
                      "text     prints the document's text as UTF-8 (body text only; the library\n"
                      "         keeps ASCII, CJK ideographs and CJK punctuation in this mode).\n"
                      "         Files ending in .txt are read as plain text.\n"
                      "export   writes OUTDIR/1.txt (UTF-8; CR LF line ends except for OOXML)\n"
                      "         and, on request, the pictures beside it, creating OUTDIR when\n"
                      "         its parent exists.\n"
                      "\n"
                      "export flags (default --text):\n"
                      "  --text          0x10   write 1.txt\n"
                      "  --pictures      0x01   write embedded pictures beside 1.txt\n"
                      "  --extras        0x110  1.txt with headers, footers, comments, notes\n"
                      "  --flags N              the flag word itself (decimal or 0x...); exactly\n"
                      "                         0x1000 refuses PDF files\n"
                      "  --time-limit S         PDF: stop taking pages after S seconds (default 300)\n"
                      "  --utf8-paths           FILE and OUTDIR are UTF-8 whatever the locale\n"
                      "\n"
                      "result codes of export (exit status 0 only for 0):\n"
                      "  0     success\n"
                      "  1     spreadsheet written as its unique shared strings only\n"
                      "  2     output folder missing and not creatable, or source not found\n"
                      "  other numbers below 4097: the error number of opening the source\n"
                      "  4097  unsupported format, size outside 512 B..1 GiB, or no document inside\n"
                      "  4098  conversion abandoned on damaged data\n"
                      "  4099  Word document structure missing\n"
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
        return "Word document structure missing";
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

int runFormat(const char* file)
{
    const char* name = getFileFormate(file, 0);
    std::printf("%s\n", name != nullptr ? name : "(none)");
    return name != nullptr && std::strcmp(name, quillet::format::OpenError) == 0 ? 1 : 0;
}

int runText(const char* file)
{
    QString text;
    quilletInitialize();
    quilletGetFileContent(QString::fromLocal8Bit(file), text);
    quilletDestory();
    if (text.isNull())
        return fail(std::string("no text extracted from ") + file);
    // In slices, so that no second copy of the whole text is made; a slice
    // never ends between the two halves of a pair.
    const int slice = 64 * 1024;
    for (int at = 0; at < text.size();) {
        int count = std::min(slice, text.size() - at);
        if (at + count < text.size() && text.at(at + count - 1).isHighSurrogate())
            --count;
        const QByteArray utf8 = text.midRef(at, count).toUtf8();
        std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
        at += count;
    }
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stdout);
    return 0;
}

int runExport(int argc, char** argv)
{
    if (argc < 4)
        return fail("export needs FILE and OUTDIR (see --help)");
    const char* file = argv[2];
    const char* folder = argv[3];
    uint32_t flags = 0;
    bool flagsGiven = false;
    int timeLimit = 300;
    int utf8 = 0;
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long number = 0;
        if (arg == "--text") {
            flags |= quillet::WriteText;
            flagsGiven = true;
        } else if (arg == "--pictures") {
            flags |= quillet::WritePictures;
            flagsGiven = true;
        } else if (arg == "--extras") {
            // Extras mean nothing without the text they join.
            flags |= quillet::WriteExtras | quillet::WriteText;
            flagsGiven = true;
        } else if (arg == "--utf8-paths") {
            utf8 = 1;
        } else if (arg == "--flags" || arg == "--time-limit") {
            if (i + 1 >= argc || !parseNumber(argv[i + 1], number) || number > 0xFFFFFFFFul)
                return fail(arg + " needs a number");
            ++i;
            if (arg == "--flags") {
                flags |= static_cast<uint32_t>(number);
                flagsGiven = true;
            } else {
                if (number > 0x7FFFFFFFul)
                    return fail("--time-limit is too large");
                timeLimit = static_cast<int>(number);
            }
        } else {
            return fail("unknown option " + arg + " (see --help)");
        }
    }
    if (!flagsGiven)
        flags = quillet::WriteText;

    quilletInitialize();
    const uint32_t code = export2Txt(file, folder, utf8, flags, timeLimit);
    quilletDestory();
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
    if (command == "format" || command == "text") {
        if (argc != 3)
            return fail(command + " needs exactly one FILE (see --help)");
        return command == "format" ? runFormat(argv[2]) : runText(argv[2]);
    }
    if (command == "export")
        return runExport(argc, argv);
    if (command == "batch")
        return quillet::cli::runBatch(argc - 2, argv + 2);
    return fail("unknown command " + command + " (see --help)");
}
