#include "pdf/PdfProperties.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <QXmlStreamReader>

#include <cctype>
#include <cstring>
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

// An XMP packet larger than this is not read: real ones are a few kilobytes.
constexpr size_t kMostXmpBytes = 1 << 20;

// The document's XMP packet (the catalogue's Metadata stream), or nothing.
QByteArray xmpPacket(fz_context* ctx, pdf_document* document)
{
    QByteArray packet;
    fz_stream* stream = nullptr;
    fz_var(stream);
    fz_try(ctx)
    {
        pdf_obj* root = pdf_dict_get(ctx, pdf_trailer(ctx, document), PDF_NAME(Root));
        pdf_obj* metadata = pdf_dict_get(ctx, root, PDF_NAME(Metadata));
        if (pdf_is_stream(ctx, metadata)) {
            stream = pdf_open_stream(ctx, metadata);
            packet.resize(int(kMostXmpBytes) + 1);
            const size_t got = fz_read(ctx, stream, reinterpret_cast<unsigned char*>(packet.data()), kMostXmpBytes + 1);
            packet.resize(got > kMostXmpBytes ? 0 : int(got));
        }
    }
    fz_always(ctx)
    {
        fz_drop_stream(ctx, stream);
    }
    fz_catch(ctx)
    {
        packet.clear();
    }
    return packet;
}

// The property an XMP element or attribute gives, by namespace and name.
const char* xmpProperty(const QStringRef& space, const QStringRef& name)
{
    static const struct {
        const char* space;
        const char* name;
        const char* property;
    } known[] = {
        {"http://purl.org/dc/elements/1.1/", "title", "title"},
        {"http://purl.org/dc/elements/1.1/", "creator", "author"},
        {"http://purl.org/dc/elements/1.1/", "description", "subject"},
        {"http://ns.adobe.com/pdf/1.3/", "Keywords", "keywords"},
        {"http://ns.adobe.com/pdf/1.3/", "Producer", "producer"},
        {"http://ns.adobe.com/xap/1.0/", "CreatorTool", "application"},
        {"http://ns.adobe.com/xap/1.0/", "CreateDate", "created"},
        {"http://ns.adobe.com/xap/1.0/", "ModifyDate", "modified"},
    };
    for (const auto& entry : known) {
        if (name == QLatin1String(entry.name) && space == QLatin1String(entry.space))
            return entry.property;
    }
    return nullptr;
}

// "2012-04-17T15:46:02.5+01:00" as a PDF date ("20120417154602+01'00"),
// for pdfDateAsIso.
std::string xmpDateAsPdfDate(const QString& text)
{
    std::string date, zone;
    bool time = false, fraction = false;
    for (const QChar c : text) {
        const char a = c.unicode() < 0x80 ? char(c.unicode()) : '?';
        const bool digit = a >= '0' && a <= '9';
        if (!zone.empty()) {
            if (digit)
                zone += a;
        } else if (a == 'T') {
            time = true;
        } else if (a == '.') {
            fraction = true;
        } else if (digit) {
            if (!fraction)
                date += a;
        } else if (time && (a == '+' || a == '-')) {
            zone += a;
        } else if (a == 'Z' || (a != '-' && a != ':')) {
            break;
        } else {
            fraction = false;
        }
    }
    if (zone.size() >= 3)
        date += zone.substr(0, 3) + "'" + zone.substr(3);
    return date;
}

void setXmpValue(DocumentMetadata& metadata, const char* property, const QString& value)
{
    const QString trimmed = value.trimmed();
    if (std::strcmp(property, "created") == 0 || std::strcmp(property, "modified") == 0)
        metadata.setText(property, pdfDateAsIso(xmpDateAsPdfDate(trimmed)));
    else
        metadata.setText(property, trimmed.toStdString());
}

// The properties an XMP packet gives: a property's element holds its text,
// or list items (rdf:li) joined with "; ", or it is an attribute of
// rdf:Description. Anything that is not well-formed XML gives nothing.
DocumentMetadata readXmp(const QByteArray& packet)
{
    DocumentMetadata found;
    QXmlStreamReader reader(packet);
    const char* property = nullptr;
    int depth = 0, propertyDepth = 0;
    QStringList items;
    QString text;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (property == nullptr) {
                property = xmpProperty(reader.namespaceUri(), reader.name());
                propertyDepth = depth;
                items.clear();
                text.clear();
                for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                    if (const char* named = xmpProperty(attribute.namespaceUri(), attribute.name()))
                        setXmpValue(found, named, attribute.value().toString());
                }
            } else if (reader.name() == QLatin1String("li")) {
                text.clear();
            }
            break;
        case QXmlStreamReader::Characters:
            if (property != nullptr)
                text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (property != nullptr && depth == propertyDepth) {
                setXmpValue(found, property, items.isEmpty() ? text : items.join(QStringLiteral("; ")));
                property = nullptr;
            } else if (property != nullptr && reader.name() == QLatin1String("li") && !text.trimmed().isEmpty()) {
                items.append(text.trimmed());
            }
            --depth;
            break;
        default:
            break;
        }
    }
    return reader.hasError() ? DocumentMetadata() : found;
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
    // The XMP packet fills in what the Info dictionary lacks; where both have
    // a property, the dictionary's is what readers show.
    const DocumentMetadata xmp = readXmp(xmpPacket(ctx, document));
    for (const DocumentMetadata::Entry& entry : xmp.entries()) {
        if (metadata.find(entry.name) == nullptr)
            metadata.setText(entry.name, entry.value);
    }
    return metadata;
}

}  // namespace quillet
