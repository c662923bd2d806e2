#include "legacy/CompoundProperties.h"

#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"
#include "compound/PropertySet.h"
#include "platform/Utf8.h"

#include <vector>

namespace quillet {
namespace {

// Property sets are a few kilobytes; a larger one is read this far.
constexpr int64_t kLargestSet = 1 << 20;

using Kind = StoredProperty::Kind;

struct Mapping {
    uint32_t id;
    const char* name;
    Kind kind;  // a value of another kind is a writer's mistake, and left out
};

// The summary set's ids, then the document summary set's.
constexpr Mapping kSummary[] = {
    {2, "title", Kind::Text},         {3, "subject", Kind::Text},   {4, "author", Kind::Text},
    {5, "keywords", Kind::Text},      {6, "comments", Kind::Text},  {8, "last_author", Kind::Text},
    {11, "last_printed", Kind::Time}, {12, "created", Kind::Time},  {13, "modified", Kind::Time},
    {14, "pages", Kind::Integer},     {15, "words", Kind::Integer}, {16, "characters", Kind::Integer},
    {18, "application", Kind::Text}};
constexpr Mapping kDocumentSummary[] = {{2, "category", Kind::Text},
                                        {7, "slides", Kind::Integer},
                                        {14, "manager", Kind::Text},
                                        {15, "company", Kind::Text}};

std::vector<uint8_t> streamBytes(CompoundFile& file, const std::string& name)
{
    std::vector<uint8_t> bytes;
    if (!file.hasOwnEntry(name))
        return bytes;
    try {
        std::unique_ptr<CompoundStream> stream = file.openStream(name);
        if (stream == nullptr)
            return bytes;
        bytes.resize(size_t(std::min(stream->size(), kLargestSet)));
        stream->readBytes(bytes.data(), bytes.size());
    } catch (const CompoundFileError&) {
        bytes.clear();
    }
    return bytes;
}

template <size_t N>
void addSet(CompoundFile& file, const std::string& stream, const uint8_t* formatId, const Mapping (&mappings)[N],
            DocumentMetadata& metadata)
{
    const std::vector<uint8_t> bytes = streamBytes(file, stream);
    for (const StoredProperty& property : readPropertySet(bytes.data(), bytes.size(), formatId)) {
        for (const Mapping& mapping : mappings) {
            if (mapping.id != property.id || mapping.kind != property.kind)
                continue;
            if (property.kind == Kind::Text)
                metadata.setText(mapping.name, utf16ToUtf8(property.text.data(), property.text.size()));
            else if (property.kind == Kind::Integer)
                metadata.setCount(mapping.name, property.integer);
            else
                metadata.setFileTime(mapping.name, property.fileTime);
        }
    }
}

}  // namespace

DocumentMetadata readCompoundProperties(CompoundFile& file)
{
    DocumentMetadata metadata;
    addSet(file, "\005SummaryInformation", kSummaryFormatId, kSummary, metadata);
    addSet(file, "\005DocumentSummaryInformation", kDocumentSummaryFormatId, kDocumentSummary, metadata);
    return metadata;
}

}  // namespace quillet
