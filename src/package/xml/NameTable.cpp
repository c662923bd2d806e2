#include "package/xml/NameTable.h"

#include <cstring>

namespace quillet {
namespace {

struct NameTables {
    std::vector<NameTable> tables;

    NameTables()
    {
        tables.reserve(kNameListCount);
        for (size_t i = 0; i < kNameListCount; ++i)
            tables.emplace_back(kNameLists[i]);
    }

    const NameTable& find(NameSpaceId id) const
    {
        for (const NameTable& table : tables) {
            if (table.namespaceId() == id)
                return table;
        }
        return tables.front();  // every id has a list
    }
};

// Magic statics make the one-time build thread-safe.
const NameTables& allTables()
{
    static const NameTables tables;
    return tables;
}

struct TableSet {
    const NameTable* w;
    const NameTable* v;
    const NameTable* p;
    const NameTable* mc;
    const NameTable* c;
    const NameTable* sml;
    const NameTable* xdr;
    const NameTable* a;
    const NameTable* r;
    const NameTable* dgm;
};

const TableSet& tableSet()
{
    static const TableSet set = [] {
        const NameTables& all = allTables();
        return TableSet{&all.find(NameSpaceId::W),   &all.find(NameSpaceId::V), &all.find(NameSpaceId::P),
                        &all.find(NameSpaceId::Mc),  &all.find(NameSpaceId::C), &all.find(NameSpaceId::Sml),
                        &all.find(NameSpaceId::Xdr), &all.find(NameSpaceId::A), &all.find(NameSpaceId::R),
                        &all.find(NameSpaceId::Dgm)};
    }();
    return set;
}

// Prefix::None is never a prefix written in a file; it selects the tables
// of names without one.
// X: the spreadsheet markup as some writers prefix it (<x:worksheet>).
enum class Prefix { Other, W, R, Mc, V, A, C, P, Xdr, Dgm, X, None };

Prefix prefixOf(const char* prefix, size_t length)
{
    switch (length) {
    case 1:
        switch (prefix[0]) {
        case 'w':
            return Prefix::W;
        case 'r':
            return Prefix::R;
        case 'v':
            return Prefix::V;
        case 'a':
            return Prefix::A;
        case 'c':
            return Prefix::C;
        case 'p':
            return Prefix::P;
        case 'x':
            return Prefix::X;
        default:
            return Prefix::Other;
        }
    case 2:
        return prefix[0] == 'm' && prefix[1] == 'c' ? Prefix::Mc : Prefix::Other;
    case 3:
        if (sameBytes(prefix, "xdr", 3))
            return Prefix::Xdr;
        return sameBytes(prefix, "dgm", 3) ? Prefix::Dgm : Prefix::Other;
    default:
        return Prefix::Other;
    }
}

const NameTable* chooseTable(Prefix prefix, bool hasPrefix, Vocabulary vocabulary)
{
    const TableSet& set = tableSet();
    switch (vocabulary) {
    case Vocabulary::WordProcessing:
        switch (prefix) {
        case Prefix::W:
            return set.w;
        case Prefix::R:
            return set.r;
        case Prefix::Mc:
            return set.mc;
        default:
            return set.v;  // v, any other prefix, and none
        }
    case Vocabulary::Spreadsheet:
        if (!hasPrefix)
            return set.sml;
        switch (prefix) {
        case Prefix::X:
            return set.sml;
        case Prefix::A:
            return set.a;
        case Prefix::C:
            return set.c;
        case Prefix::R:
            return set.r;
        case Prefix::Xdr:
            return set.xdr;
        default:
            return nullptr;
        }
    case Vocabulary::Presentation:
        switch (prefix) {
        case Prefix::A:
            return set.a;
        case Prefix::P:
            return set.p;
        case Prefix::R:
            return set.r;
        case Prefix::C:
            return set.c;
        case Prefix::Dgm:
            return set.dgm;
        default:
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

NameTable::NameTable(const NameList& list) : namespaceId_(list.namespaceId)
{
    size_t capacity = 16;
    while (capacity < list.count * 2)
        capacity *= 2;
    slots_.resize(capacity);
    mask_ = capacity - 1;
    const int base = static_cast<int>(list.namespaceId) << 12;
    for (size_t i = 0; i < list.count; ++i) {
        const char* name = list.names[i];
        const size_t length = std::strlen(name);
        const uint32_t hash = nameHash(name, length);
        if (lookup(hash, name, length) != -1)
            continue;  // the first insertion wins
        size_t at = hash & mask_;
        while (slots_[at].token != -1)
            at = (at + 1) & mask_;
        slots_[at] = Slot{hash, base + static_cast<int>(i), name, length};
        ++size_;
    }
}

const NameTable& nameTable(NameSpaceId id)
{
    return allTables().find(id);
}

NameResolver::NameResolver(Vocabulary vocabulary)
{
    unprefixed_ = chooseTable(Prefix::None, false, vocabulary);
    for (int prefix = 0; prefix < kPrefixKinds; ++prefix)
        byPrefix_[prefix] = chooseTable(static_cast<Prefix>(prefix), true, vocabulary);
}

const NameResolver& NameResolver::forVocabulary(Vocabulary vocabulary)
{
    static const NameResolver resolvers[] = {NameResolver(Vocabulary::WordProcessing),
                                             NameResolver(Vocabulary::Spreadsheet),
                                             NameResolver(Vocabulary::Presentation)};
    return resolvers[static_cast<int>(vocabulary)];
}

const NameTable* NameResolver::tableFor(const char* prefix, size_t prefixLength) const
{
    // A prefix with trailing spaces hashes, and so counts, as the prefix without them.
    prefixLength = trimmedLength(prefix, prefixLength);
    if (prefixLength == 0)
        return unprefixed_;
    return byPrefix_[static_cast<int>(prefixOf(prefix, prefixLength))];
}

int NameResolver::lookup(const char* name, size_t length) const
{
    length = trimmedLength(name, length, true);
    size_t colon = 0;
    const uint32_t hash = qualifiedNameHash(name, length, colon);
    return lookupHashed(name, length, hash, colon);
}

int NameResolver::lookupHashed(const char* name, size_t length, uint32_t hash, size_t colon) const
{
    const NameTable* table = unprefixed_;
    if (colon != length) {
        // An empty prefix is a prefix all the same: ":name".
        const size_t prefixLength = trimmedLength(name, colon);
        table = byPrefix_[static_cast<int>(prefixLength == 0 ? Prefix::Other : prefixOf(name, prefixLength))];
        name += colon + 1;
        length -= colon + 1;
    }
    return table != nullptr ? table->lookup(hash, name, length) : -1;
}

const NameTable* nameTableFor(const char* prefix, size_t prefixLength, Vocabulary vocabulary)
{
    return NameResolver::forVocabulary(vocabulary).tableFor(prefix, prefixLength);
}

int lookupName(const char* name, size_t length, Vocabulary vocabulary)
{
    return NameResolver::forVocabulary(vocabulary).lookup(name, length);
}

void ensureNameTables()
{
    NameResolver::forVocabulary(Vocabulary::WordProcessing);
}

}  // namespace quillet
