#include "support/PackagePartSet.h"

#include "support/ZipBuilder.h"

namespace quillet::test {

std::string PackagePartSet::zipBytes(const std::map<std::string, std::string>& generated) const
{
    std::map<std::string, std::string> all = generated;
    for (const auto& [name, bytes] : entries_)
        all[name] = bytes;
    ZipBuilder zip;
    for (const auto& [name, bytes] : all)
        if (!dropped_.count(name))
            zip.add(name, bytes);
    return zip.bytes();
}

std::string PackagePartSet::relationships(const std::string& relationshipElements)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           relationshipElements + "</Relationships>";
}

std::string PackagePartSet::relationship(const std::string& id, const std::string& type, const std::string& target,
                                         bool external)
{
    return "<Relationship Id=\"" + id + "\" Type=\"" +
           "http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type + "\" Target=\"" + target +
           "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
}

}  // namespace quillet::test
