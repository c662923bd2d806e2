// One flat JSON object on one line: written for results.jsonl, and read back
// when a batch resumes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace quillet::cli {

class JsonLine {
public:
    // Strings are bytes: valid UTF-8 passes through, any other byte becomes a
    // lone surrogate \udc80..\udcff (as Python's "surrogateescape" does), so
    // a path that is not UTF-8 still comes back as the same bytes.
    JsonLine& string(const char* key, const std::string& value);
    JsonLine& number(const char* key, const std::string& digits);
    JsonLine& number(const char* key, int64_t value);
    JsonLine& null(const char* key);
    // The object with its closing brace and a line feed.
    std::string finish() const;

    struct Value {
        bool isString = false;
        bool isNull = false;
        std::string text;  // unescaped string, or the number as written
    };
    // Reads one object of strings, numbers, null, true and false; false when
    // the line is not such an object.
    static bool parse(const std::string& line, std::map<std::string, Value>& fields);

    static std::string escape(const std::string& bytes);

private:
    void key(const char* name);
    std::string text_;
};

}  // namespace quillet::cli
