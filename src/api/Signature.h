#pragma once

#include <cstddef>

namespace quillet {

class StdioFile;

enum class SourceFormat { Unknown, Compound, Zip, Pdf, Rtf };

constexpr size_t kSignatureSize = 16;

bool isCompoundFile(const unsigned char* head);
bool isZip(const unsigned char* head);
bool isPdf(const unsigned char* head);
// Byte 0 must be non-zero and bytes 1-4 "\rtf"; byte 0 is not otherwise checked.
bool isRtf(const unsigned char* head);

// Applies the tests in order to the first 16 bytes (zero beyond the end).
SourceFormat detectFormat(const unsigned char* head);

// Reads the first 16 bytes of an open file and detects its format.
SourceFormat readSignature(StdioFile& file);

}  // namespace quillet
