#include "ReadableText.h"

#include <quillet/quillet.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTextCodec>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace quillet::readable {
namespace {

namespace fs = std::filesystem;

// The library reads plain text up to this size too.
constexpr uintmax_t kMostPlainTextBytes = 0x3FFFFFFF;
constexpr char32_t kInvalid = 0xFFFD;

// The next code point of utf8 from at, which moves past it; a byte that
// starts no valid sequence gives U+FFFD, clears *valid and moves on by one.
char32_t nextCodePoint(std::string_view utf8, size_t& at, bool* valid = nullptr)
{
    const auto byte = [&utf8](size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at);
    size_t extra = 0;
    char32_t c = lead, least = 0;
    if (lead < 0x80) {
        ++at;
        return c;
    }
    if (lead >= 0xC2 && lead <= 0xDF)
        extra = 1, c = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        extra = 2, c = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        extra = 3, c = lead & 0x07, least = 0x10000;
    bool whole = extra > 0 && utf8.size() - at > extra;
    for (size_t k = 1; whole && k <= extra; ++k) {
        whole = (byte(at + k) & 0xC0) == 0x80;
        c = (c << 6) | (byte(at + k) & 0x3F);
    }
    if (!whole || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        if (valid != nullptr)
            *valid = false;
        ++at;
        return kInvalid;
    }
    at += extra + 1;
    return c;
}

void appendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// JSON text into a string, or through a buffer into a file: a document's
// text is escaped in one pass over its bytes, with no UTF-16 copy of it, and
// a file never waits for the whole of it.
class JsonOut {
public:
    explicit JsonOut(std::FILE* file = nullptr) : file_(file) {}

    void append(std::string_view bytes)
    {
        out_.append(bytes);
        if (file_ != nullptr && out_.size() >= kChunk)
            flush();
    }
    void append(char c) { out_ += c; }
    void reserve(size_t size) { out_.reserve(size); }
    // False once a write to the file failed.
    bool flush()
    {
        if (file_ != nullptr && !out_.empty()) {
            written_ = written_ && std::fwrite(out_.data(), 1, out_.size(), file_) == out_.size();
            out_.clear();
        }
        return written_;
    }
    std::string& text() { return out_; }

private:
    static constexpr size_t kChunk = 1 << 20;
    std::FILE* file_;
    std::string out_;
    bool written_ = true;
};

void appendJsonString(JsonOut& out, std::string_view utf8)
{
    static const char hex[] = "0123456789abcdef";
    // Bytes that JSON writes escaped: control characters, quote, backslash.
    static const auto escaped = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c)
            table[size_t(c)] = true;
        table['"'] = table['\\'] = true;
        return table;
    }();
    constexpr size_t kBlock = 4096;
    // Escaped into a buffer of its own, a block of input at a time with room
    // for its worst case: presentations put a tab every few characters, and
    // a call or a room check per escape would cost more than the text.
    char buffer[kBlock * 6 + 2];
    size_t used = 0, plainRun = 0;
    buffer[used++] = '"';
    for (size_t i = 0; i < utf8.size();) {
        const size_t end = std::min(utf8.size(), i + kBlock);
        while (i < end) {
            // Eight bytes at a time through plain text, once a run of plain
            // bytes says the text is not dense with tabs.
            constexpr uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
            while (plainRun >= 16 && i + 8 <= end) {
                uint64_t word;
                std::memcpy(&word, utf8.data() + i, 8);
                const uint64_t quote = word ^ (ones * '"'), backslash = word ^ (ones * '\\');
                const uint64_t special =
                    ((word - ones * 0x20) & ~word) | ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash);
                if ((special & highs) != 0) {
                    plainRun = 0;
                    break;
                }
                std::memcpy(buffer + used, &word, 8);
                used += 8;
                i += 8;
            }
            if (i >= end)
                break;
            const auto c = static_cast<unsigned char>(utf8[i++]);
            if (!escaped[c]) {
                buffer[used++] = char(c);
                ++plainRun;
                continue;
            }
            plainRun = 0;
            buffer[used++] = '\\';
            switch (c) {
            case '\n':
                buffer[used++] = 'n';
                break;
            case '\t':
                buffer[used++] = 't';
                break;
            case '\r':
                buffer[used++] = 'r';
                break;
            case '\b':
                buffer[used++] = 'b';
                break;
            case '\f':
                buffer[used++] = 'f';
                break;
            case '"':
            case '\\':
                buffer[used++] = char(c);
                break;
            default:
                buffer[used++] = 'u';
                buffer[used++] = '0';
                buffer[used++] = '0';
                buffer[used++] = hex[c >> 4];
                buffer[used++] = hex[c & 15];
            }
        }
        out.append(std::string_view(buffer, used));
        used = 0;
    }
    buffer[used++] = '"';
    out.append(std::string_view(buffer, used));
}

void writeJson(const Document& document, JsonOut& json)
{
    json.append("{\"code\":" + std::to_string(document.code) + ",\"format\":");
    if (document.format.empty())
        json.append("null");
    else
        appendJsonString(json, document.format);
    json.append(",\"metadata\":" + document.metadataJson + ",\"parts\":[");
    for (const Part& part : document.parts) {
        if (&part != &document.parts.front())
            json.append(',');
        json.append("{\"index\":" + std::to_string(part.index) + ",\"kind\":");
        appendJsonString(json, part.kind);
        json.append(",\"name\":");
        appendJsonString(json, part.name);
        json.append(",\"text\":");
        appendJsonString(json, partText(document, part));
        json.append('}');
    }
    json.append("]}");
}

bool isLineEnd(char32_t c)
{
    return c == '\n' || c == 0x0B || c == 0x0C || c == 0x0E || c == 0x2028 || c == 0x2029;
}

// Line ends become "\n", Word's marks tabs, hyphens and line breaks, other
// control characters go, and what is not UTF-8 becomes U+FFFD. Offsets, when
// given, move with the text.
std::string withPlainMarks(std::string_view utf8, std::vector<size_t>* offsets = nullptr)
{
    std::string out;
    out.reserve(utf8.size());
    // The next offset to move, kept in a local: the loop runs per character.
    size_t moved = 0;
    size_t next = offsets != nullptr && !offsets->empty() ? offsets->front() : SIZE_MAX;
    for (size_t at = 0; at < utf8.size();) {
        if (at >= next) {
            for (; moved < offsets->size() && (*offsets)[moved] <= at; ++moved)
                (*offsets)[moved] = out.size();
            next = moved < offsets->size() ? (*offsets)[moved] : SIZE_MAX;
        }
        // ASCII inline: the decoder is a call of its own.
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const char32_t c = lead < 0x80 ? char32_t(lead) : nextCodePoint(utf8, at);
        if (lead < 0x80)
            ++at;
        if (c == '\r') {
            if (at < utf8.size() && utf8[at] == '\n')
                ++at;
            out += '\n';
        } else if (isLineEnd(c)) {
            out += '\n';
        } else if (c == 0x07) {
            // A cell's mark, or with a second one the end of its row.
            const bool rowEnd = at < utf8.size() && utf8[at] == 0x07;
            at += rowEnd ? 1 : 0;
            out += rowEnd ? '\n' : '\t';
        } else if (c == 0x1E) {
            out += '-';
        } else if (c == '\t' || (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F))) {
            appendUtf8(c, out);
        }
    }
    for (; offsets != nullptr && moved < offsets->size(); ++moved)
        (*offsets)[moved] = out.size();
    return out;
}

bool endsWithTxt(const std::string& path)
{
    return path.size() >= 4 && strncasecmp(path.c_str() + path.size() - 4, ".txt", 4) == 0;
}

bool isUtf8(const std::string& bytes)
{
    bool valid = true;
    for (size_t at = 0; at < bytes.size() && valid;)
        nextCodePoint(bytes, at, &valid);
    return valid;
}

bool startsWith(const std::string& bytes, const char* prefix, size_t length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

bool looksLikeText(const std::string& bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF", 3) || startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2))
        return true;
    return bytes.find('\0') == std::string::npos && isUtf8(bytes);
}

// A folder of its own under the system's temporary folder, removed with
// what the export wrote into it.
class PrivateFolder {
public:
    PrivateFolder()
    {
        std::error_code error;
        std::string pattern = (fs::temp_directory_path(error) / "quillet-text-XXXXXX").string();
        if (!error && ::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~PrivateFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool made() const { return !path_.empty(); }
    std::string file(const char* name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The whole file, or false with the errno of opening it.
bool readWhole(const std::string& path, std::string& bytes, uint32_t& error)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        error = descriptor < 0 ? uint32_t(errno) : uint32_t(EISDIR);
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    char buffer[65536];
    for (ssize_t n; (n = ::read(descriptor, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, size_t(n));
    ::close(descriptor);
    return true;
}

Document readPlainTextFile(const std::string& path)
{
    Document document;
    std::error_code error;
    const uintmax_t size = fs::file_size(path, error);
    std::string bytes;
    if (!error && size > kMostPlainTextBytes)
        document.code = Unsupported;
    else if (readWhole(path, bytes, document.code))
        document.text = readablePlainText(bytes);
    return document;
}

std::string bytesOf(const QByteArray& bytes)
{
    return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string utf8Of(const QString& text)
{
    return bytesOf(text.toUtf8());
}

std::string utf16AsUtf8(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] =
            char16_t(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return utf8Of(QString::fromStdU16String(units));
}

// The whole text as one part, or none when there is no text.
void singlePart(Document& document)
{
    document.parts.clear();
    if (!document.text.empty())
        document.parts.push_back({"document", 1, {}, 0, document.text.size()});
}

// The export's "1.json" beside its text: the format, the properties, and the
// parts cut from the readable text where their starts in "1.txt" land. True
// when the parts were placed; the document's text is then set, in the same
// pass.
bool readRecord(const QJsonObject& record, const std::string& exported, bool utf16, Document& document)
{
    const QJsonValue format = record.value(QStringLiteral("format"));
    if (format.isString())
        document.format = utf8Of(format.toString());
    const QJsonObject metadata = record.value(QStringLiteral("metadata")).toObject();
    document.metadataJson = bytesOf(QJsonDocument(metadata).toJson(QJsonDocument::Compact));

    const QJsonArray marks = record.value(QStringLiteral("parts")).toArray();
    std::vector<size_t> starts;
    std::vector<Part> parts;
    // Each mark read once: looking into JSON objects is what costs here.
    const QString kind = QStringLiteral("kind"), index = QStringLiteral("index"), name = QStringLiteral("name"),
                  startKey = QStringLiteral("start");
    for (const QJsonValue& value : marks) {
        const QJsonObject mark = value.toObject();
        const double start = mark.value(startKey).toDouble(-1);
        // Marks that run backwards or past the text are not the text's.
        if (start < 0 || start > double(exported.size()) || (!starts.empty() && size_t(start) < starts.back()))
            return false;
        starts.push_back(size_t(start));
        parts.push_back({utf8Of(mark.value(kind).toString()), mark.value(index).toInt(1),
                         utf8Of(mark.value(name).toString()), 0, 0});
    }
    if (starts.empty())
        return false;
    // Text before the first mark belongs to the first part.
    starts[0] = 0;
    std::string text;
    if (utf16) {
        // Each part decoded alone, so its start is known in the UTF-8.
        std::string utf8;
        for (size_t i = 0; i < starts.size(); ++i) {
            const size_t from = starts[i] & ~size_t(1);
            const size_t to = i + 1 < starts.size() ? starts[i + 1] & ~size_t(1) : exported.size();
            starts[i] = utf8.size();
            utf8 += utf16AsUtf8(std::string_view(exported).substr(from, to - from));
        }
        text = readableText(utf8, starts);
        // A pair of units cut by a mark would decode apart.
        if (text != readableExport(exported, true))
            return false;
    } else {
        text = readableText(exported, starts);
    }
    document.text = std::move(text);
    for (size_t i = 0; i < starts.size(); ++i) {
        parts[i].start = starts[i];
        parts[i].size = (i + 1 < starts.size() ? starts[i + 1] : document.text.size()) - starts[i];
    }
    document.parts = std::move(parts);
    return true;
}

void asPlainText(Document& document)
{
    document.format = "TXT";
    singlePart(document);
}

Document exportDocument(const std::string& path, const Options& options)
{
    Document document;
    PrivateFolder folder;
    if (!folder.made()) {
        document.code = OutputFolderMissing;
        return document;
    }
    uint32_t flags = options.extras ? WriteText | WriteExtras : WriteText;
    if (options.structure)
        flags |= WriteRecord;
    const std::string out = folder.file("out");
    document.code = export2Txt(path.c_str(), out.c_str(), 0, flags, options.timeLimitSeconds);
    std::string exported;
    uint32_t ignored = 0;
    // Named once: naming a package opens it again.
    const char* format = getFileFormate(path.c_str(), 0);
    const bool utf16 = exportIsUtf16(document.code, format);
    const bool written = readWhole(out + "/1.txt", exported, ignored);
    if (written && !options.structure)
        document.text = readableExport(exported, utf16);
    if (options.structure) {
        std::string json;
        readWhole(out + "/1.json", json, ignored);
        readExportRecord(exported, utf16, json, format, document);
    }
    return document;
}

// The bytes as a file that the library can open by path: an anonymous file
// in memory where the system has them, a private temporary file otherwise.
class BytesFile {
public:
    explicit BytesFile(const std::string& bytes)
    {
        descriptor_ = ::memfd_create("quillet-input", MFD_CLOEXEC);
        if (descriptor_ >= 0) {
            path_ = "/proc/self/fd/" + std::to_string(descriptor_);
        } else if (folder_.made()) {
            path_ = folder_.file("input");
            descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        }
        for (size_t at = 0; descriptor_ >= 0 && at < bytes.size();) {
            const ssize_t written = ::write(descriptor_, bytes.data() + at, bytes.size() - at);
            if (written <= 0) {
                path_.clear();
                break;
            }
            at += size_t(written);
        }
    }
    ~BytesFile()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    BytesFile(const BytesFile&) = delete;
    BytesFile& operator=(const BytesFile&) = delete;

    const std::string& path() const { return path_; }

private:
    PrivateFolder folder_;
    int descriptor_ = -1;
    std::string path_;
};

}  // namespace

void readExportRecord(const std::string& exported, bool utf16, const std::string& recordJson, const char* format,
                      Document& document)
{
    const QJsonDocument record =
        QJsonDocument::fromJson(QByteArray::fromRawData(recordJson.data(), int(recordJson.size())));
    if (record.isObject() && readRecord(record.object(), exported, utf16, document))
        return;
    if (!record.isObject())
        document.format = format != nullptr ? format : "";
    document.text = readableExport(exported, utf16);
    singlePart(document);
}

bool exportIsUtf16(uint32_t code, const char* format)
{
    if (code == Success || format == nullptr)
        return false;
    for (const char* package : {format::Docx, format::Xlsx, format::Pptx}) {
        if (std::strcmp(format, package) == 0)
            return false;
    }
    return true;
}

std::string readableExport(const std::string& bytes, bool utf16)
{
    // Not one conditional expression: it would copy the bytes to give both arms one type.
    if (utf16)
        return readableText(utf16AsUtf8(bytes));
    return readableText(bytes);
}

Properties propertiesOf(const Document& document)
{
    const std::string& json = document.metadataJson;
    const QJsonObject metadata =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), int(json.size()))).object();
    Properties properties;
    properties.title = utf8Of(metadata.value(QStringLiteral("title")).toString());
    properties.author = utf8Of(metadata.value(QStringLiteral("author")).toString());
    const QJsonValue pages = metadata.value(QStringLiteral("pages"));
    if (pages.isDouble())
        properties.pages = int64_t(pages.toDouble());
    return properties;
}

std::string documentJson(const Document& document)
{
    // Room for every text escaped, so the string never moves as it grows.
    size_t room = document.metadataJson.size() + 256;
    for (const Part& part : document.parts)
        room += part.size + part.size / 8 + part.name.size() + 64;
    JsonOut json;
    json.reserve(room);
    writeJson(document, json);
    return std::move(json.text());
}

bool writeDocumentJson(const Document& document, std::FILE* file)
{
    JsonOut json(file);
    writeJson(document, json);
    json.append('\n');
    return json.flush();
}

bool hasText(uint32_t code)
{
    return code == Success || code == SharedStringsOnly || code == Refused;
}

std::string readableText(std::string_view utf8)
{
    std::vector<size_t> none;
    return readableText(utf8, none);
}

std::string readableText(std::string_view utf8, std::vector<size_t>& offsets)
{
    const std::string marked = withPlainMarks(utf8, &offsets);
    size_t moved = 0;
    std::string out;
    out.reserve(marked.size() + 1);
    size_t blankLines = 0;
    for (size_t start = 0; start < marked.size();) {
        size_t end = marked.find('\n', start);
        if (end == std::string::npos)
            end = marked.size();
        size_t first = start, last = end;
        while (first < last && marked[first] == '\t')
            ++first;
        while (last > first && (marked[last - 1] == ' ' || marked[last - 1] == '\t'))
            --last;
        if (first == last) {
            ++blankLines;
        } else {
            if (!out.empty())
                out.append(blankLines > 0 ? "\n\n" : "\n");
            const size_t lineStart = out.size();
            for (; moved < offsets.size() && offsets[moved] <= start; ++moved)
                offsets[moved] = lineStart;
            out.append(marked, first, last - first);
            // Inside the line: where its character lands, or the line's kept end.
            for (; moved < offsets.size() && offsets[moved] < end; ++moved)
                offsets[moved] = lineStart + std::min(std::max(offsets[moved], first), last) - first;
            blankLines = 0;
        }
        start = end + 1;
    }
    if (!out.empty())
        out += '\n';
    for (; moved < offsets.size(); ++moved)
        offsets[moved] = out.size();
    return out;
}

std::string readablePlainText(const std::string& bytes)
{
    QString text;
    if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)) {
        const bool little = bytes[0] == '\xFF';
        std::u16string units;
        for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
            const auto low = static_cast<unsigned char>(bytes[at + (little ? 0 : 1)]);
            const auto high = static_cast<unsigned char>(bytes[at + (little ? 1 : 0)]);
            units += char16_t(low | (high << 8));
        }
        text = QString::fromStdU16String(units);
    } else if (startsWith(bytes, "\xEF\xBB\xBF", 3) || isUtf8(bytes)) {
        const size_t skip = startsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
        return withPlainMarks(std::string_view(bytes).substr(skip));
    } else {
        text = QTextCodec::codecForLocale()->toUnicode(bytes.data(), int(std::min<size_t>(bytes.size(), INT32_MAX)));
    }
    const QByteArray utf8 = text.toUtf8();
    return withPlainMarks(std::string_view(utf8.constData(), size_t(utf8.size())));
}

Document readDocument(const std::string& path, const Options& options)
{
    if (!endsWithTxt(path))
        return exportDocument(path, options);
    Document document = readPlainTextFile(path);
    if (options.structure)
        asPlainText(document);
    return document;
}

Document readDocumentBytes(const std::string& bytes, const Options& options)
{
    BytesFile file(bytes);
    if (file.path().empty()) {
        Document failed;
        failed.code = OutputFolderMissing;
        return failed;
    }
    const char* format = getFileFormate(file.path().c_str(), 0);
    if (format != nullptr && std::strcmp(format, format::NotSupported) == 0 && looksLikeText(bytes)) {
        Document document;
        document.text = readablePlainText(bytes);
        if (options.structure)
            asPlainText(document);
        return document;
    }
    return exportDocument(file.path(), options);
}

}  // namespace quillet::readable
