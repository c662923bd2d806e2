// Where each document's output goes, and the file-system chores around it.
#pragma once

#include <string>

namespace quillet::cli {

class OutputFolders {
public:
    // A folder name for the document at the absolute path: its file name made
    // safe, then a hash of the whole path, so the same path always gets the
    // same folder and two paths never share one.
    static std::string nameFor(const std::string& absolutePath);

    // Removes path and everything below it without following symbolic links.
    static void removeTree(const std::string& path);

    // Creates path and its missing parents; false with errno set on failure.
    static bool makePath(const std::string& path);

    // The path made absolute against the working folder, without "." parts,
    // repeated separators, or ".." after a folder that is no symbolic link.
    static std::string absolute(const std::string& path);
};

}  // namespace quillet::cli
