#include "package/NameTable.h"

#include "api/ReaderEntries.h"

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
        return TableSet {&all.find(NameSpaceId::W),  &all.find(NameSpaceId::V),   &all.find(NameSpaceId::P),
                         &all.find(NameSpaceId::Mc), &all.find(NameSpaceId::C),   &all.find(NameSpaceId::Sml),
                         &all.find(NameSpaceId::Xdr), &all.find(NameSpaceId::A),  &all.find(NameSpaceId::R),
                         &all.find(NameSpaceId::Dgm)};
    }();
    return set;
}

bool isPrefix(const char* prefix, size_t length, const char* conventional)
{
    return std::strlen(conventional) == length && std::memcmp(prefix, conventional, length) == 0;
}

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
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
        slots_[at] = Slot {hash, base + static_cast<int>(i), name, length};
        ++size_;
    }
}

int NameTable::lookup(uint32_t hash, const char* name, size_t length) const
{
    while (length > 0 && name[length - 1] == ' ')
        --length;
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.token == -1)
            return -1;
        if (slot.hash == hash && slot.length == length && std::memcmp(slot.name, name, length) == 0)
            return slot.token;
    }
}

const NameTable& nameTable(NameSpaceId id)
{
    return allTables().find(id);
}

const NameTable* nameTableFor(const char* prefix, size_t prefixLength, Vocabulary vocabulary)
{
    const TableSet& set = tableSet();
    switch (vocabulary) {
    case Vocabulary::WordProcessing:
        if (isPrefix(prefix, prefixLength, "w"))
            return set.w;
        if (isPrefix(prefix, prefixLength, "r"))
            return set.r;
        if (isPrefix(prefix, prefixLength, "mc"))
            return set.mc;
        return set.v;  // v, any other prefix, and none
    case Vocabulary::Spreadsheet:
        if (prefixLength == 0)
            return set.sml;
        if (isPrefix(prefix, prefixLength, "a"))
            return set.a;
        if (isPrefix(prefix, prefixLength, "c"))
            return set.c;
        if (isPrefix(prefix, prefixLength, "r"))
            return set.r;
        if (isPrefix(prefix, prefixLength, "xdr"))
            return set.xdr;
        return nullptr;
    case Vocabulary::Presentation:
        if (isPrefix(prefix, prefixLength, "a"))
            return set.a;
        if (isPrefix(prefix, prefixLength, "p"))
            return set.p;
        if (isPrefix(prefix, prefixLength, "r"))
            return set.r;
        if (isPrefix(prefix, prefixLength, "c"))
            return set.c;
        if (isPrefix(prefix, prefixLength, "dgm"))
            return set.dgm;
        return nullptr;
    }
    return nullptr;
}

int lookupName(const char* name, size_t length, Vocabulary vocabulary)
{
    while (length > 0 && isXmlSpace(name[length - 1]))
        --length;
    const char* colon = static_cast<const char*>(std::memchr(name, ':', length));
    const char* local = name;
    size_t localLength = length;
    size_t prefixLength = 0;
    if (colon != nullptr) {
        prefixLength = static_cast<size_t>(colon - name);
        while (prefixLength > 0 && name[prefixLength - 1] == ' ')
            --prefixLength;
        local = colon + 1;
        localLength = length - static_cast<size_t>(local - name);
        if (prefixLength == 0 && vocabulary == Vocabulary::Spreadsheet)
            return -1;  // ":name" has a prefix, just an empty one
    }
    const NameTable* table = nameTableFor(name, prefixLength, vocabulary);
    if (table == nullptr)
        return -1;
    return table->lookup(nameHash(local, localLength), local, localLength);
}

void ensureNameTables()
{
    tableSet();
}

}  // namespace quillet
