#include "output/DocumentRecord.h"

#include <QString>

#include <algorithm>

namespace quillet {
namespace {

// UTF-8 as a JSON string: quotes, backslashes and control characters
// escaped, and what is not UTF-8 (a damaged part's name) as U+FFFD.
void appendJsonString(std::string& json, const std::string& text)
{
    static const char hex[] = "0123456789abcdef";
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
    const std::string utf8 =
        ascii ? text : QString::fromUtf8(text.data(), static_cast<int>(text.size())).toUtf8().toStdString();
    json += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte >= 0x20) {
            json += c;
        } else if (c == '\n') {
            json += "\\n";
        } else if (c == '\t') {
            json += "\\t";
        } else if (c == '\r') {
            json += "\\r";
        } else {
            json += "\\u00";
            json += hex[byte >> 4];
            json += hex[byte & 15];
        }
    }
    json += '"';
}

}  // namespace

void DocumentRecord::markPart(const std::string& kind, int index, const std::string& name, uint64_t start)
{
    if (dropped_)
        return;
    parts_.push_back({kind, index, name, start});
}

std::vector<uint64_t> DocumentRecord::starts() const
{
    std::vector<uint64_t> starts;
    for (const Part& part : parts_)
        starts.push_back(part.start);
    return starts;
}

void DocumentRecord::moveStarts(const std::vector<uint64_t>& starts)
{
    for (size_t i = 0; i < parts_.size() && i < starts.size(); ++i)
        parts_[i].start = starts[i];
}

void DocumentRecord::dropParts()
{
    parts_.clear();
    dropped_ = true;
}

// By hand: a record of thousands of parts is written in a fraction of what
// building it as a JSON document would cost.
std::string DocumentRecord::toJson(const char* format, uint32_t code) const
{
    std::string json = "{\"code\":" + std::to_string(code) + ",\"format\":";
    if (format != nullptr)
        appendJsonString(json, format);
    else
        json += "null";
    json += ",\"metadata\":{";
    // Keys in order, as a JSON object's reader may list them.
    std::vector<const DocumentMetadata::Entry*> entries;
    for (const DocumentMetadata::Entry& entry : metadata_.entries())
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->name < b->name; });
    for (const DocumentMetadata::Entry* entry : entries) {
        if (entry != entries.front())
            json += ',';
        appendJsonString(json, entry->name);
        json += ':';
        if (entry->kind == DocumentMetadata::Kind::Text)
            appendJsonString(json, entry->value);
        else
            json += entry->value;  // digits, or true or false
    }
    json += '}';
    if (dropped_) {
        json += ",\"parts\":null}\n";
        return json;
    }
    json += ",\"parts\":[";
    for (const Part& part : parts_) {
        if (&part != &parts_.front())
            json += ',';
        json += "{\"index\":" + std::to_string(part.index) + ",\"kind\":";
        appendJsonString(json, part.kind);
        json += ",\"name\":";
        appendJsonString(json, part.name);
        json += ",\"start\":" + std::to_string(part.start) + '}';
    }
    json += "]}\n";
    return json;
}

}  // namespace quillet
