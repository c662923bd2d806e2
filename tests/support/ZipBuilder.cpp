#include "support/ZipBuilder.h"

#include "support/TempDir.h"

#include <minizip/zip.h>

#include <stdexcept>

namespace quillet::test {

void ZipBuilder::write(const std::string& path) const
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (const auto& [name, data, stored] : entries_) {
        zip_fileinfo info {};
        ok = ok && zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       stored ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK &&
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
