#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class StdioFile;

// Rewrites the folder's "1.txt" from UTF-16LE to UTF-8, ending every line
// with CR LF. False when the text file could not be opened. When the new
// file cannot be written whole, or not put in the old one's place, neither
// file stays and WriteError is raised.
bool reencodeTextFileToUtf8(const std::string& folder);

// Ends a conversion's text file. A draft of UTF-8 lines (TextSink's
// Utf8Lines form) becomes "1.txt" with its last line ended when the
// conversion succeeded, and gives "1.txt" its UTF-16LE text back when it did
// not; a UTF-16LE "1.txt" of a successful conversion is re-encoded. When the
// file cannot be written, neither stays and WriteError is raised. Byte
// offsets of the draft, ascending, move with its text into the UTF-16LE.
void finishTextFile(const std::string& folder, bool succeeded, std::vector<uint64_t>* offsets = nullptr);

// Writes the UTF-16LE text of a draft of UTF-8 lines to out; offsets as
// for finishTextFile.
void copyDraftAsUtf16(StdioFile& draft, StdioFile& out, std::vector<uint64_t>* offsets = nullptr);

}  // namespace quillet
