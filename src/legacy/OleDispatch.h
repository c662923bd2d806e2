#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class CompoundFile;

// What a compound file holds, decided from its stream names.
enum OleDocumentKind : int {
    NoDocument = 0,
    WordKind = 1,
    ExcelKind = 2,
    PowerPointKind = 3,
    EncryptedPackageKind = 4,
    AmbiguousKind = 5,  // several document streams; the readers are tried in turn
};

// The path's extension breaks a tie between several document streams.
OleDocumentKind decideDocumentKind(const CompoundFile& file, const std::string& path);

}  // namespace quillet
