#include "pdf/PdfProperties.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cctype>
#include <vector>

namespace quillet {
namespace {

// Reads `count` digits at `at` into value; false when they are not there.
bool digits(const std::string& text, size_t& at, size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

std::string lookup(fz_context* ctx, pdf_document* document, const char* key)
{
    std::vector<char> buffer(256);
    int needed = -1;
    fz_try(ctx)
    {
        needed = fz_lookup_metadata(ctx, &document->super, key, buffer.data(), int(buffer.size()));
        if (needed > int(buffer.size()) && needed <= 1 << 20) {
            buffer.resize(size_t(needed));
            needed = fz_lookup_metadata(ctx, &document->super, key, buffer.data(), int(buffer.size()));
        }
    }
    fz_catch(ctx)
    {
        needed = -1;
    }
    if (needed <= 0 || needed > int(buffer.size()))
        return {};
    std::string text(buffer.data());
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string pdfDateAsIso(const std::string& text)
{
    size_t at = text.compare(0, 2, "D:") == 0 ? 2 : 0;
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    if (!digits(text, at, 4, year))
        return {};
    // Each later part is there or the rest is absent.
    for (int* part : {&month, &day, &hour, &minute, &second}) {
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
            break;
        if (!digits(text, at, 2, *part))
            return {};
    }
    int64_t seconds = 0;
    if (!unixSecondsOf(year, month, day, hour, minute, second, seconds))
        return {};
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        const int sign = text[at] == '+' ? 1 : -1;
        ++at;
        int offsetHours = 0, offsetMinutes = 0;
        if (!digits(text, at, 2, offsetHours) || offsetHours > 23)
            return {};
        if (at < text.size() && (text[at] == '\'' || text[at] == ':'))
            ++at;
        if (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
            (!digits(text, at, 2, offsetMinutes) || offsetMinutes > 59))
            return {};
        // Local time minus its offset is UTC.
        seconds -= sign * (offsetHours * 3600 + offsetMinutes * 60);
    }
    return isoUtcTime(seconds);
}

DocumentMetadata readPdfProperties(fz_context* ctx, pdf_document* document, int pageCount)
{
    DocumentMetadata metadata;
    if (ctx == nullptr || document == nullptr)
        return metadata;
    static const std::pair<const char*, const char*> texts[] = {
        {FZ_META_INFO_TITLE, "title"},         {FZ_META_INFO_AUTHOR, "author"},
        {FZ_META_INFO_SUBJECT, "subject"},     {FZ_META_INFO_KEYWORDS, "keywords"},
        {FZ_META_INFO_CREATOR, "application"}, {FZ_META_INFO_PRODUCER, "producer"}};
    for (const auto& [key, name] : texts)
        metadata.setText(name, lookup(ctx, document, key));
    metadata.setText("created", pdfDateAsIso(lookup(ctx, document, FZ_META_INFO_CREATIONDATE)));
    metadata.setText("modified", pdfDateAsIso(lookup(ctx, document, FZ_META_INFO_MODIFICATIONDATE)));
    metadata.setCount("pages", pageCount);
    // "PDF 1.7"
    const std::string format = lookup(ctx, document, FZ_META_FORMAT);
    if (format.compare(0, 4, "PDF ") == 0)
        metadata.setText("pdf_version", format.substr(4));
    const std::string encryption = lookup(ctx, document, FZ_META_ENCRYPTION);
    if (!encryption.empty())
        metadata.setFlag("encrypted", encryption != "None");
    return metadata;
}

}  // namespace quillet
