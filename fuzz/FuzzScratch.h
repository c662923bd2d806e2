#pragma once

// A private folder under the system's temporary folder for the inputs and
// outputs of one fuzzing process, removed when the process ends.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class FuzzScratch {
public:
    FuzzScratch()
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "quillet-fuzz-XXXXXX").string();
        if (!error && ::mkdtemp(pattern.data()) != nullptr)
            folder_ = pattern;
    }
    ~FuzzScratch()
    {
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }
    FuzzScratch(const FuzzScratch&) = delete;
    FuzzScratch& operator=(const FuzzScratch&) = delete;

    bool ready() const { return !folder_.empty(); }
    std::string file(const std::string& name) const { return folder_ + "/" + name; }

    // Writes the input under name and returns its path.
    std::string write(const std::string& name, const uint8_t* data, size_t size) const
    {
        const std::string path = file(name);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(data, 1, size, f);
            std::fclose(f);
        }
        return path;
    }

private:
    std::string folder_;
};
