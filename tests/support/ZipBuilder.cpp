#include "support/ZipBuilder.h"

#include "support/TempDir.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <stdexcept>

namespace quillet::test {

ZipBuilder& ZipBuilder::add(const std::string& name, const std::string& bytes, bool stored)
{
    entries_.push_back({name, bytes, stored, false, 0, 0});
    return *this;
}

ZipBuilder& ZipBuilder::addRaw(const std::string& name, const std::string& deflated, uint64_t declaredSize,
                               uint32_t declaredCrc)
{
    entries_.push_back({name, deflated, false, true, declaredSize, declaredCrc});
    return *this;
}

void ZipBuilder::write(const std::string& path) const
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr)
        throw std::runtime_error("zipOpen64 failed for " + path);
    bool ok = true;
    for (const Entry& entry : entries_) {
        zip_fileinfo info {};
        const int method = entry.stored ? 0 : Z_DEFLATED;
        const int level = entry.stored ? 0 : Z_DEFAULT_COMPRESSION;
        const int zip64 = entry.declaredSize > 0xFFFFFFFFu ? 1 : 0;
        ok = ok && zipOpenNewFileInZip2_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                           level, entry.raw ? 1 : 0, zip64) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK;
        if (entry.raw)
            ok = ok && zipCloseFileInZipRaw64(zip, entry.declaredSize, entry.declaredCrc) == ZIP_OK;
        else
            ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok)
        throw std::runtime_error("writing " + path + " failed");
}

std::string ZipBuilder::bytes() const
{
    TempDir folder;
    write(folder.file("archive.zip"));
    return readFile(folder.file("archive.zip"));
}

std::string rawDeflate(const std::string& bytes)
{
    z_stream stream {};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

uint32_t crc32Of(const std::string& bytes)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string contentTypesXml()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
}

std::string packageRelsXml(const std::string& mainPart)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
           "Target=\"" +
           mainPart + "\"/></Relationships>";
}

}  // namespace quillet::test
