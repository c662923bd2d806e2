#include "ooxml/PackageProperties.h"

#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/Relationship.h"
#include "package/opc/XmlPart.h"
#include "package/xml/ElementHandler.h"

#include <charconv>
#include <exception>
#include <map>

namespace quillet {
namespace {

constexpr const char* kCoreProperties =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr const char* kExtendedProperties =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";

struct Mapping {
    const char* element;  // local name
    const char* name;
    bool isCount;
};

constexpr Mapping kCore[] = {
    {"title", "title", false},       {"subject", "subject", false},      {"creator", "author", false},
    {"keywords", "keywords", false}, {"description", "comments", false}, {"lastModifiedBy", "last_author", false},
    {"created", "created", false},   {"modified", "modified", false},    {"lastPrinted", "last_printed", false},
    {"category", "category", false}};
constexpr Mapping kExtended[] = {
    {"Application", "application", false}, {"Pages", "pages", true},   {"Words", "words", true},
    {"Characters", "characters", true},    {"Slides", "slides", true}, {"Company", "company", false},
    {"Manager", "manager", false}};

std::string localName(const std::string& name)
{
    const size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The text of each child of the root, by local name; the first of a name wins.
class PropertyList : public DefaultElementStrHandler {
public:
    class Value : public DefaultElementStrHandler {
    public:
        explicit Value(std::string* text) : text_(text) {}
        void characters(const std::string& text) override { *text_ += text; }

    private:
        std::string* text_;
    };

    ElementStrHandler* getChildHandler(const std::string& name) override
    {
        const std::string local = localName(name);
        if (values_.count(local) != 0)
            return nullptr;
        value_ = std::make_unique<Value>(&values_[local]);
        return value_.get();
    }
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
    std::unique_ptr<Value> value_;
};

template <size_t N>
void addPart(OpcPackage& package, const char* type, const Mapping (&mappings)[N], DocumentMetadata& metadata)
{
    Relationship* relationship = package.relationships().findByType(type);
    PackagePart* part = relationship != nullptr ? relationship->getTargetPart() : nullptr;
    if (part == nullptr)
        return;
    PropertyList list;
    try {
        parseXmlPartByName(package.archive(), part->path(), &list);
    } catch (const std::exception&) {
        return;  // not XML: no properties from it
    }
    for (const Mapping& mapping : mappings) {
        const auto found = list.values().find(mapping.element);
        if (found == list.values().end())
            continue;
        const std::string text = trimmed(found->second);
        if (!mapping.isCount) {
            metadata.setText(mapping.name, text);
            continue;
        }
        long long count = -1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (error == std::errc() && end == text.data() + text.size())
            metadata.setCount(mapping.name, count);
    }
}

}  // namespace

DocumentMetadata readPackageProperties(OpcPackage& package)
{
    DocumentMetadata metadata;
    addPart(package, kCoreProperties, kCore, metadata);
    addPart(package, kExtendedProperties, kExtended, metadata);
    return metadata;
}

}  // namespace quillet
