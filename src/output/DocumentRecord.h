#pragma once

#include "output/DocumentMetadata.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// What an export learns about a document besides its text, for "1.json":
// its properties and where each of its parts (page, sheet, slide, body,
// headers...) starts in "1.txt". A part runs to the next one's start.
class DocumentRecord {
public:
    struct Part {
        std::string kind;
        int index = 0;       // 1-based within its kind (a slide's number)
        std::string name;    // a sheet's name; may be empty
        uint64_t start = 0;  // byte offset in "1.txt"
    };

    // The format's name, when the reader that knows it gives it: naming it
    // again would open the file again.
    void setFormat(const char* format) { format_ = format; }
    const char* format() const { return format_; }

    DocumentMetadata& metadata() { return metadata_; }
    const DocumentMetadata& metadata() const { return metadata_; }

    // Marks are kept in the order given, empty parts too (a blank sheet is
    // still one of the workbook's sheets).
    void markPart(const std::string& kind, int index, const std::string& name, uint64_t start);
    // For a reader that starts the text again.
    void clearParts() { parts_.clear(); }
    // The text was re-encoded after its parts were marked: their offsets no
    // longer hold.
    void dropParts();
    const std::vector<Part>& parts() const { return parts_; }
    // The parts' starts, and their places once the text moved.
    std::vector<uint64_t> starts() const;
    void moveStarts(const std::vector<uint64_t>& starts);
    bool partsDropped() const { return dropped_; }

    // The record as a JSON object: format, code, metadata, parts (each with
    // kind, index, name and start), or "parts": null once they were dropped.
    std::string toJson(const char* format, uint32_t code) const;

private:
    const char* format_ = nullptr;
    DocumentMetadata metadata_;
    std::vector<Part> parts_;
    bool dropped_ = false;
};

}  // namespace quillet
