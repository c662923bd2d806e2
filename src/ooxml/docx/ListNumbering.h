#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace quillet {

class ZipArchive;

// The label a list paragraph shows ("1.", "a)", "iv.", "2.3.1", a bullet),
// from the numbering part, with counters kept per list and level as Word
// keeps them. The part is read when the first list paragraph asks.
class ListNumbering {
public:
    static constexpr int kLevels = 9;

    struct Level {
        bool defined = false;
        int start = 0;
        std::string format = "decimal";
        std::string text;
        // -1: restarts after any higher level; 0: never; n: after levels below n.
        int restart = -1;
        bool legal = false;  // every number in the label as a decimal
    };
    struct Definition {
        std::array<Level, kLevels> levels;
    };
    // A w:num: its definition, and the levels it overrides.
    struct Instance {
        int definition = -1;
        std::array<Level, kLevels> overrides;
        std::array<bool, kLevels> startOverridden{};
        std::array<int, kLevels> startValues{};
        bool overridesAny = false;
    };

    // mainPath: the document part whose relationships name the numbering
    // part. The first label asked for comes while the document part is
    // streamed, so the numbering part is read through an archive of its own.
    ListNumbering(const ZipArchive& archive, std::string mainPath);

    // The label of the next paragraph of list numId at level, counted; ""
    // for no list, an unknown one, or a level without a label.
    std::string nextLabel(int numId, int level);

    // Filled while the numbering part is read.
    std::unordered_map<int, Definition> definitions;
    std::unordered_map<int, Instance> instances;

private:
    struct Counters {
        std::array<int, kLevels> value{};
        std::array<bool, kLevels> started{};
    };

    void load();
    const Level& levelOf(const Instance& instance, const Definition& definition, int level) const;
    int startOf(const Instance& instance, const Definition& definition, int level) const;

    std::string archivePath_;
    std::string mainPath_;
    bool loaded_ = false;
    // Lists that override nothing share their definition's counters, as
    // Word continues them; the others count on their own.
    std::unordered_map<int64_t, Counters> counters_;
};

// A decimal attribute value such as w:val of w:numId; otherwise when it has
// no digits. Cheaper than a stream, which list paragraphs would pay for each.
int listNumberValue(const std::string& text, int otherwise);

// One number in a label's format: decimal, decimalZero, upper/lowerLetter,
// upper/lowerRoman, none; every other format as a decimal.
std::string formatListNumber(int value, const std::string& format);

}  // namespace quillet
