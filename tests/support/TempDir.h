#pragma once

#include <string>
#include <vector>

namespace quillet::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// UTF-16 text as the little-endian bytes the readers write.
std::string utf16leBytes(const std::u16string& text);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> listFolder(const std::string& path);

}  // namespace quillet::test
