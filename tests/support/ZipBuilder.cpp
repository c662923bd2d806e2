#include "support/ZipBuilder.h"

#include <minizip/zip.h>

#include <algorithm>
#include <stdexcept>

namespace quillet::test {

void ZipBuilder::write(const std::string& path) const
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    const auto put = [&zip](const std::string& bytes) {
        return zipWriteInFileInZip(zip, bytes.data(), unsigned(bytes.size())) == ZIP_OK;
    };
    for (const Entry& entry : entries_) {
        zip_fileinfo info{};
        ok = ok &&
             zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 entry.stored ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             put(entry.bytes);
        if (entry.count > 0 && !entry.unit.empty()) {
            const uint64_t perBlock = std::max<uint64_t>(1, (1u << 20) / entry.unit.size());
            std::string block;
            for (uint64_t i = 0; i < std::min(perBlock, entry.count); ++i)
                block += entry.unit;
            for (uint64_t done = 0; ok && done < entry.count; done += perBlock)
                ok = entry.count - done >= perBlock ? put(block)
                                                    : put(block.substr(0, (entry.count - done) * entry.unit.size()));
        }
        ok = ok && put(entry.tail) && zipCloseFileInZip(zip) == ZIP_OK;
    }
    if (zip == nullptr || zipClose(zip, nullptr) != ZIP_OK || !ok)
        throw std::runtime_error("writing " + path + " failed");
}

std::string ZipBuilder::bytes() const
{
    TempDir folder;
    write(folder.file("a.zip"));
    return readFile(folder.file("a.zip"));
}

void patchEntry(std::string& zip, const std::string& name, size_t offset, uint32_t value, size_t width)
{
    const auto number = [&](size_t at, size_t bytes) {
        uint32_t n = 0;
        for (size_t i = 0; i < bytes; ++i)
            n |= uint32_t(uint8_t(zip.at(at + i))) << (8 * i);
        return n;
    };
    const char* central = "PK\x01\x02";
    for (size_t at = zip.find(central, 0, 4); at != std::string::npos; at = zip.find(central, at + 4, 4)) {
        if (number(at + 28, 2) != name.size() || zip.compare(at + 46, name.size(), name) != 0)
            continue;
        for (size_t field : {size_t(number(at + 42, 4)) + offset, at + offset + 2})
            for (size_t i = 0; i < width; ++i)
                zip[field + i] = char(value >> (8 * i));
        return;
    }
    throw std::invalid_argument("no entry " + name);
}

std::string relationship(const std::string& id, const std::string& type, const std::string& target,
                         const std::string& more)
{
    const char* base = type.find(':') == std::string::npos
                           ? "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                           : "";
    return "<Relationship Id=\"" + id + "\" Type=\"" + base + type + "\" Target=\"" + target + "\"" + more + "/>";
}

std::string relationships(const std::string& elements)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           elements + "</Relationships>";
}

}  // namespace quillet::test
