#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class CompoundStream;
struct WordFib;

// The labels Word shows before the paragraphs of its lists ("1)", "a.",
// "1.2.", a bullet), counted in document order from a Word 97-2003
// document's lists and list overrides.
class WordListNumbering {
public:
    // Reads the lists and their overrides from the table stream. A count or
    // an offset that does not fit leaves the numbering empty. Raises
    // CompoundFileError on a short read.
    void read(CompoundStream& table, const WordFib& fib);
    bool empty() const { return overrides_.empty(); }
    // Counts the next paragraph of list override (1-based) at level and
    // appends its label and the character that follows it. Nothing for an
    // override or a list that does not exist.
    void appendLabel(int override, int level, std::u16string& out);

    static constexpr int kLevels = 9;

private:
    struct Level {
        int32_t start = 1;
        uint8_t format = 0;
        bool legal = false;
        bool restartLimited = false;
        uint8_t restartLimit = 0;
        uint8_t follow = 0;
        std::u16string text;  // units below 9 stand for the number of that level
    };
    struct List {
        uint32_t id = 0;
        std::vector<Level> levels;  // 1 for a simple list, else 9
        std::array<int32_t, kLevels> counts{};
        std::array<bool, kLevels> counted{};
    };
    struct Override {
        size_t list = 0;  // index into lists_
        std::array<bool, kLevels> restarts{};
        std::array<int32_t, kLevels> startAt{};
        std::array<bool, kLevels> formatted{};
        std::array<Level, kLevels> levels{};
    };

    static Level readLevel(CompoundStream& table);
    void readOverrides(CompoundStream& table, const WordFib& fib);

    std::vector<List> lists_;
    std::vector<Override> overrides_;
};

}  // namespace quillet
