// Turns the inputs of a batch into the list of documents to convert.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quillet::cli {

class InputWalker {
public:
    // The folder at skipPath (the batch's output) is never walked into.
    explicit InputWalker(const std::string& skipPath);

    // A file, or a folder walked recursively in byte-wise sorted order.
    // Paths that cannot be looked at are kept: their conversion records why.
    void add(const std::string& given);
    // Adds every line of the list file ("-": stdin); false when it cannot be read.
    bool addList(const std::string& listPath, std::string& error);

    // Absolute paths, each file once however often it was reached.
    const std::vector<std::string>& documents() const { return documents_; }

private:
    using Identity = std::pair<unsigned long long, unsigned long long>;
    void walk(const std::string& folder);
    void addFile(const std::string& path, const Identity* identity);

    std::set<Identity> folders_;  // walked, or never to be walked
    std::set<Identity> files_;
    std::set<std::string> unreadable_;
    std::vector<std::string> documents_;
};

}  // namespace quillet::cli
