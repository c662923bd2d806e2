#pragma once

#include "package/xml/NameTableData.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

enum class Vocabulary : int { WordProcessing = 0, Spreadsheet = 1, Presentation = 2 };

inline bool isXmlWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The length without trailing spaces (0x20), or without any trailing XML
// white space.
inline size_t trimmedLength(const char* bytes, size_t length, bool anyWhitespace = false)
{
    while (length > 0 && (bytes[length - 1] == ' ' || (anyWhitespace && isXmlWhitespace(bytes[length - 1]))))
        --length;
    return length;
}

inline bool sameBytes(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// One step of the name hash: h * 31 + b, the byte taken as signed, modulo 2^32.
inline uint32_t nameHashStep(uint32_t hash, char c)
{
    return hash * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
}

// The hash of the bytes after dropping trailing spaces.
inline uint32_t nameHash(const char* bytes, size_t length)
{
    length = trimmedLength(bytes, length);
    uint32_t hash = 0;
    for (size_t i = 0; i < length; ++i)
        hash = nameHashStep(hash, bytes[i]);
    return hash;
}

// The hash of a qualified name "prefix:local", restarted after its first ":",
// so that it is the local name's; colon becomes that ":"'s offset, or length.
inline uint32_t qualifiedNameHash(const char* name, size_t length, size_t& colon)
{
    uint32_t hash = 0;
    colon = length;
    for (size_t i = 0; i < length; ++i) {
        if (name[i] == ':' && colon == length) {
            colon = i;
            hash = 0;
            continue;
        }
        hash = nameHashStep(hash, name[i]);
    }
    return hash;
}

// The names of one namespace, keyed by their hash. The name text is kept as
// well, so that an unlisted name sharing a listed name's hash stays unknown.
class NameTable {
public:
    explicit NameTable(const NameList& list);

    // The token of the name, or -1. The hash must be nameHash of the bytes.
    int lookup(uint32_t hash, const char* name, size_t length) const
    {
        length = trimmedLength(name, length);
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (slot.token == -1)
                return -1;
            if (slot.hash == hash && slot.length == length && sameBytes(slot.name, name, length))
                return slot.token;
        }
    }
    NameSpaceId namespaceId() const { return namespaceId_; }
    size_t size() const { return size_; }

private:
    struct Slot {
        uint32_t hash = 0;
        int token = -1;  // -1: empty slot
        const char* name = nullptr;
        size_t length = 0;
    };

    NameSpaceId namespaceId_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t size_ = 0;
};

// The tables one vocabulary looks names up in, chosen once for each prefix.
class NameResolver {
public:
    // Built once per process, with the tables, on the first call from any thread.
    static const NameResolver& forVocabulary(Vocabulary vocabulary);

    // The token of a qualified name "prefix:local" or "local" (trailing
    // whitespace ignored), or -1.
    int lookup(const char* name, size_t length) const;
    // The same for a name without whitespace whose hash (restarted after the
    // first ":") the caller took while reading it; colon is the offset of that
    // ":", or length when there is none.
    int lookupHashed(const char* name, size_t length, uint32_t hash, size_t colon) const;
    // Null when names with this prefix are unknown; an empty prefix stands
    // for a name without one.
    const NameTable* tableFor(const char* prefix, size_t prefixLength) const;

    // Other, w, r, mc, v, a, c, p, xdr, dgm.
    static constexpr int kPrefixKinds = 11;

private:
    explicit NameResolver(Vocabulary vocabulary);

    const NameTable* unprefixed_ = nullptr;
    const NameTable* byPrefix_[kPrefixKinds] = {};
};

// The table of a namespace; all tables are built together, once per process,
// on the first call from any thread, and never freed.
const NameTable& nameTable(NameSpaceId id);

// The table that a name with this prefix is looked up in under the
// vocabulary, or null when such names are unknown. An empty prefix stands
// for a name without one.
const NameTable* nameTableFor(const char* prefix, size_t prefixLength, Vocabulary vocabulary);

// The token of a qualified name "prefix:local" or "local" (trailing
// whitespace ignored), or -1.
int lookupName(const char* name, size_t length, Vocabulary vocabulary);

// Builds the element and attribute name tables once per process.
void ensureNameTables();

}  // namespace quillet
