#include "InputWalker.h"

#include "OutputFolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <sys/stat.h>

namespace quillet::cli {

namespace {

std::pair<unsigned long long, unsigned long long> identityOf(const struct stat& info)
{
    return {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
}

}  // namespace

InputWalker::InputWalker(const std::string& skipPath)
{
    struct stat info {};
    if (::stat(skipPath.c_str(), &info) == 0)
        folders_.insert(identityOf(info));
}

void InputWalker::add(const std::string& given)
{
    const std::string path = OutputFolders::absolute(given);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        addFile(path, nullptr);
        return;
    }
    if (!S_ISDIR(info.st_mode)) {
        const Identity identity = identityOf(info);
        addFile(path, &identity);
        return;
    }
    if (folders_.insert(identityOf(info)).second)
        walk(path);
}

void InputWalker::addFile(const std::string& path, const Identity* identity)
{
    if (identity != nullptr ? files_.insert(*identity).second : unreadable_.insert(path).second)
        documents_.push_back(path);
}

// Depth first with an explicit stack, so deep trees cannot exhaust the
// call stack; each folder is entered once, which also ends symlink loops.
void InputWalker::walk(const std::string& root)
{
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        DIR* handle = ::opendir(folder.c_str());
        if (handle == nullptr) {
            std::fprintf(stderr, "quillet: cannot read folder %s: %s\n", folder.c_str(), std::strerror(errno));
            continue;
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(handle)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
        ::closedir(handle);
        std::sort(names.begin(), names.end());
        std::vector<std::string> subfolders;
        for (const std::string& name : names) {
            const std::string path = (folder == "/" ? folder : folder + "/") + name;
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0) {
                addFile(path, nullptr);  // dangling link, or gone already
            } else if (S_ISDIR(info.st_mode)) {
                if (folders_.insert(identityOf(info)).second)
                    subfolders.push_back(path);
            } else if (S_ISREG(info.st_mode)) {
                const Identity identity = identityOf(info);
                addFile(path, &identity);
            }
            // Pipes, sockets and devices inside folders are no documents.
        }
        // Files of a folder come before its subfolders, which follow in order.
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
}

bool InputWalker::addList(const std::string& listPath, std::string& error)
{
    std::ifstream file;
    if (listPath != "-") {
        file.open(listPath, std::ios::binary);
        if (!file) {
            error = "cannot read list " + listPath + ": " + std::strerror(errno);
            return false;
        }
    }
    std::istream& in = listPath == "-" ? std::cin : file;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            add(line);
    }
    return true;
}

}  // namespace quillet::cli
