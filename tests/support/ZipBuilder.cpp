#include "support/ZipBuilder.h"

#include "support/TempDir.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <stdexcept>

namespace quillet::test {
namespace {

std::string rawDeflate(const std::string& bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&stream, uLong(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

}  // namespace

void ZipBuilder::write(const std::string& path) const
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const Entry& entry : entries_) {
        zip_fileinfo info{};
        if (entry.declaredSize >= 0) {
            const std::string packed = rawDeflate(entry.bytes);
            const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.bytes.data()), uInt(entry.bytes.size()));
            ok = ok &&
                 zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION, 1) == ZIP_OK &&
                 zipWriteInFileInZip(zip, packed.data(), unsigned(packed.size())) == ZIP_OK &&
                 zipCloseFileInZipRaw(zip, uLong(entry.declaredSize), crc) == ZIP_OK;
            continue;
        }
        ok = ok &&
             zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 entry.stored ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
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

}  // namespace quillet::test
