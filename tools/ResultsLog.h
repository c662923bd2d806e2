// DIR/results.jsonl: one line per document, each written whole or not at all.
// Batches sharing the folder take turns through a lock on the file.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet::cli {

class ResultsLog {
public:
    ResultsLog() = default;
    ~ResultsLog();
    ResultsLog(const ResultsLog&) = delete;
    ResultsLog& operator=(const ResultsLog&) = delete;

    // Opens the log. With resume, reads the records of the given paths already
    // there and cuts off a last line left unfinished; without, starts an empty log.
    bool open(const std::string& path, bool resume, const std::vector<std::string>& paths, std::string& error);

    // Whether path was recorded with this size and modification time, as
    // written in the log ("null" for a file that could not be looked at), and
    // its last record's status is not among those to retry.
    bool recorded(const std::string& path, const std::string& size, const std::string& mtime,
                  const std::set<std::string>& retry = {}) const;
    size_t recordCount() const { return known_.size(); }

    // Appends one line ending in a line feed. On failure the log is cut back
    // to where it was, so no partial line stays behind.
    bool append(const std::string& line, std::string& error);

private:
    void load(const std::string& content, const std::vector<std::string>& paths);

    struct Stamp {
        std::string size;
        std::string mtime;
        std::string status;
    };
    int fd_ = -1;
    std::string path_;
    std::unordered_map<std::string, Stamp> known_;
};

}  // namespace quillet::cli
