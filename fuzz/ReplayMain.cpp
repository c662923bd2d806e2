// Runs a fuzz target over saved inputs (files, or every file of folders), so
// that crashers found once keep running as ordinary tests.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static int runFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A separate allocation of the exact size lets ASan catch any over-read.
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return 1;
}

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        std::error_code error;
        if (fs::is_directory(path, error)) {
            for (const auto& entry : fs::recursive_directory_iterator(path, error))
                if (entry.is_regular_file())
                    runs += runFile(entry.path());
        } else if (fs::is_regular_file(path, error)) {
            runs += runFile(path);
        }
    }
    std::printf("replayed %d inputs\n", runs);
    return 0;
}
