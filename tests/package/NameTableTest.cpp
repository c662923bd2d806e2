#include "package/NameTable.h"

#include "package/NameTokens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>

using namespace quillet;

TEST(NameTable, HashOfBytesTakenAsSigned)
{
    EXPECT_EQ(nameHash("", 0), 0u);
    EXPECT_EQ(nameHash("a", 1), 97u);
    EXPECT_EQ(nameHash("mc", 2), 3478u);
    EXPECT_EQ(nameHash("dgm", 3), 99402u);
    EXPECT_EQ(nameHash("xdr", 3), 118534u);
    EXPECT_EQ(nameHash("xdr  ", 5), 118534u);
    EXPECT_EQ(nameHash("\xC3\xA9", 2), static_cast<uint32_t>(-61 * 31 + -87));
    EXPECT_EQ(nameHash("uniqueIdurn_quickStyle", 22), 667595550u);
}

TEST(NameTable, EveryListedNameHasItsOwnToken)
{
    struct Expected {
        NameSpaceId id;
        size_t count;
        int first;
        int last;
        const char* lastName;
    };
    const Expected tables[] = {
        {NameSpaceId::Sml, 23, token::sml::si, token::sml::text, "text"},
        {NameSpaceId::R, 14, token::r::id, token::r::bottomRight, "bottomRight"},
        {NameSpaceId::Mc, 7, token::mc::Ignorable, token::mc::Fallback, "Fallback"},
        {NameSpaceId::Xdr, 43, token::xdr::from, token::xdr::wsDr, "wsDr"},
        {NameSpaceId::V, 128, token::v::id, token::v::arcsize, "arcsize"},
        {NameSpaceId::Dgm, 144, token::dgm::lang, token::dgm::uniqueIdurn_quickStyle, "uniqueIdurn_quickStyle"},
        {NameSpaceId::C, 242, token::c::val, token::c::chartSpace, "chartSpace"},
        {NameSpaceId::P, 397, token::p::dir, token::p::E2oFrame, "E2oFrame"},
        {NameSpaceId::A, 507, token::a::extLst, token::a::relIds, "relIds"},
        {NameSpaceId::W, 798, token::w::val, token::w::docParts, "docParts"},
    };
    ASSERT_EQ(kNameListCount, 10u);
    std::set<int> allTokens;
    for (const Expected& expected : tables) {
        const NameTable& table = nameTable(expected.id);
        EXPECT_EQ(table.size(), expected.count);
        const int base = static_cast<int>(expected.id) << 12;
        EXPECT_EQ(expected.first, base);
        EXPECT_EQ(expected.last, base + static_cast<int>(expected.count) - 1);
        EXPECT_EQ(table.lookup(nameHash(expected.lastName, std::strlen(expected.lastName)), expected.lastName,
                               std::strlen(expected.lastName)),
                  expected.last);
    }
    // Every name of every list resolves to its position, and no two collide.
    for (size_t list = 0; list < kNameListCount; ++list) {
        const NameList& names = kNameLists[list];
        const NameTable& table = nameTable(names.namespaceId);
        for (size_t i = 0; i < names.count; ++i) {
            const size_t length = std::strlen(names.names[i]);
            const int token = table.lookup(nameHash(names.names[i], length), names.names[i], length);
            EXPECT_EQ(token, (static_cast<int>(names.namespaceId) << 12) + static_cast<int>(i)) << names.names[i];
            EXPECT_TRUE(allTokens.insert(token).second) << names.names[i];
        }
    }
    EXPECT_EQ(allTokens.size(), 2303u);
    // Spot checks of the keyword-safe spellings.
    EXPECT_EQ(lookupName("w:default", 9, Vocabulary::WordProcessing), token::w::default_);
    EXPECT_EQ(lookupName("c:delete", 8, Vocabulary::Spreadsheet), token::c::delete_);
}

TEST(NameTable, UnlistedNamesStayUnknownEvenWithAListedHash)
{
    const NameTable& table = nameTable(NameSpaceId::Sml);
    // "\x03\x17" hashes like "t" (3 * 31 + 23 = 116).
    ASSERT_EQ(nameHash("\x03\x17", 2), nameHash("t", 1));
    EXPECT_EQ(table.lookup(nameHash("t", 1), "t", 1), token::sml::t);
    EXPECT_EQ(table.lookup(nameHash("\x03\x17", 2), "\x03\x17", 2), -1);
    EXPECT_EQ(table.lookup(nameHash("T", 1), "T", 1), -1);
    EXPECT_EQ(table.lookup(nameHash("t  ", 3), "t  ", 3), token::sml::t);
    // Prefixes are matched by their text: one that merely hashes like "w"
    // (119 = 3 * 31 + 26) falls to the v table in word-processing parts.
    EXPECT_EQ(lookupName("w:tab", 5, Vocabulary::WordProcessing), token::w::tab);
    EXPECT_EQ(lookupName("\x03\x1a:tab", 6, Vocabulary::WordProcessing), -1);
    EXPECT_EQ(lookupName("\x03\x1a:rect", 7, Vocabulary::WordProcessing), token::v::rect);
    // A name of one table is unknown under a prefix that selects another.
    EXPECT_EQ(lookupName("r:val", 5, Vocabulary::WordProcessing), -1);
}

TEST(NameTable, BuiltOnceFromManyThreads)
{
    std::vector<std::thread> threads;
    std::vector<int> found(8, 0);
    for (size_t i = 0; i < found.size(); ++i)
        threads.emplace_back([&found, i] { found[i] = lookupName("p:sldId", 7, Vocabulary::Presentation); });
    for (std::thread& thread : threads)
        thread.join();
    for (int token : found)
        EXPECT_EQ(token, token::p::sldId);
    EXPECT_EQ(&nameTable(NameSpaceId::P), &nameTable(NameSpaceId::P));
}
