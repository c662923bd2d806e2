#pragma once

// Binary presentations for the tests: records, the document container with
// its slide lists, slides, notes and masters, persist directories, user
// edits and the "Current User" stream, laid out in a compound file.

#include "support/CompoundFileBuilder.h"
#include "support/OfficeArtBuilder.h"
#include "support/TempDir.h"

#include <algorithm>

#include <map>
#include <optional>
#include <utility>

namespace quillet::test {

inline std::string pptHeader(uint16_t type, uint32_t length, uint16_t instance = 0, uint16_t version = 0)
{
    return artHeader(instance, type, length, version);
}
inline std::string pptAtom(uint16_t type, const std::string& body, uint16_t instance = 0)
{
    return pptHeader(type, uint32_t(body.size()), instance) + body;
}
inline std::string pptContainer(uint16_t type, const std::vector<std::string>& children, uint16_t instance = 0)
{
    std::string body;
    for (const std::string& child : children)
        body += child;
    return pptHeader(type, uint32_t(body.size()), instance, 0xF) + body;
}

inline std::string textChars(const std::u16string& text)
{
    return pptAtom(4000, utf16leBytes(text));
}
inline std::string textBytes(const std::string& text)
{
    return pptAtom(4008, text);
}
inline std::string outlineRef(uint32_t index)
{
    return pptAtom(3998, le32(index));
}
inline std::string slidePersist(uint32_t persistId)
{
    return pptAtom(1011, le32(persistId) + std::string(16, '\0'));
}

// A comment: author, text and initials, then its atom.
inline std::string comment10(const std::u16string& author, const std::u16string& text)
{
    return pptContainer(12000, {pptAtom(4026, utf16leBytes(author), 0), pptAtom(4026, utf16leBytes(text), 1),
                                pptAtom(4026, utf16leBytes(u"AB"), 2), pptAtom(12001, std::string(28, '\0'))});
}

// Where writers keep comments: the tag data of a slide's programmable tags,
// an atom holding records.
inline std::string taggedComment(const std::u16string& author, const std::u16string& text)
{
    return pptContainer(
        5000, {pptContainer(5002, {pptAtom(4026, utf16leBytes(u"___PPT10")), pptAtom(5003, comment10(author, text))})});
}

// A shape whose tertiary property table starts with the metroBlob property;
// declared differs from the package's size when given.
inline std::string metroBlobShape(const std::string& package, std::optional<uint32_t> declared = std::nullopt)
{
    const std::string fopt = le16(0x03A9 | 0xC000) + le32(declared.value_or(uint32_t(package.size()))) + package;
    return pptContainer(0xF004, {pptHeader(0xF122, uint32_t(fopt.size()), 1, 3) + fopt});
}

// Persist id -> offset, each id written as its own run of one.
inline std::string persistDirectory(const std::map<uint32_t, uint32_t>& entries)
{
    std::string body;
    for (const auto& [id, offset] : entries)
        body += le32(id | (1u << 20)) + le32(offset);
    return pptAtom(6002, body);
}

// extra bytes past 28 mark an encrypted presentation.
inline std::string userEdit(uint32_t lastEdit, uint32_t persistDirectoryAt, uint32_t documentRef, size_t extra = 0)
{
    return pptAtom(4085, le32(0) + le16(0) + le16(0x0300) + le32(lastEdit) + le32(persistDirectoryAt) +
                             le32(documentRef) + le32(8) + le16(1) + le16(0) + std::string(extra, '\0'));
}

inline std::string currentUser(uint32_t currentEdit)
{
    return pptAtom(4086, le32(20) + le32(0xE391C05F) + le32(currentEdit) + le16(4) + le16(0x3F4) + le16(3) + le16(0) +
                             "user");
}

struct PptPage {
    std::vector<std::u16string> placeholders;  // held in the slide list, named by outline references
    std::vector<std::string> records;          // inside the slide or notes container
};

struct PptPlan {
    std::vector<PptPage> slides, notes, masters;
    std::vector<PptPage> titleMasters;  // slide records in the master list
    bool reverseStorage = false;        // pages stored last to first
};

// The stream and where its last user edit lies.
struct PptStream {
    std::string bytes;
    uint32_t currentEdit = 0;
    uint32_t documentRef = 1;
    std::map<uint32_t, uint32_t> persist;  // every id's offset
    size_t add(const std::string& record)
    {
        const size_t at = bytes.size();
        bytes += record;
        return at;
    }
    // An edit after the existing ones: these records replace the ids given.
    void saveEdit(const std::map<uint32_t, std::string>& replaced, size_t extra = 0)
    {
        // As writers do, the edit names the document again.
        std::map<uint32_t, uint32_t> directory{{documentRef, persist[documentRef]}};
        for (const auto& [id, record] : replaced)
            directory[id] = persist[id] = uint32_t(add(record));
        const uint32_t directoryAt = uint32_t(add(persistDirectory(directory)));
        currentEdit = uint32_t(add(userEdit(currentEdit, directoryAt, documentRef, extra)));
    }
};

// Ids: 1 the document, then the masters, slides and notes in that order.
inline PptStream buildPptStream(const PptPlan& plan)
{
    uint32_t next = 2;
    std::vector<std::string> lists[3];
    std::vector<std::pair<uint32_t, std::string>> pages;
    const auto listPages = [&](const std::vector<PptPage>& group, int list, uint16_t type) {
        for (const PptPage& page : group) {
            const uint32_t id = next++;
            lists[list].push_back(slidePersist(id));
            for (const std::u16string& text : page.placeholders)
                lists[list].push_back(textChars(text));
            pages.emplace_back(id, pptContainer(type, page.records));
        }
    };
    listPages(plan.masters, 1, 1016);
    listPages(plan.titleMasters, 1, 1006);
    listPages(plan.slides, 0, 1006);
    listPages(plan.notes, 2, 1008);
    PptStream stream;
    std::vector<std::string> children{pptAtom(1001, std::string(40, '\0'))};
    const uint16_t instances[3] = {0, 1, 2};
    for (int list : {1, 0, 2})
        if (!lists[list].empty())
            children.push_back(pptContainer(4080, lists[list], instances[list]));
    stream.persist[1] = uint32_t(stream.add(pptContainer(1000, children)));
    if (plan.reverseStorage)
        std::reverse(pages.begin(), pages.end());
    std::map<uint32_t, uint32_t> directory{{1, 0}};
    for (const auto& [id, record] : pages)
        directory[id] = stream.persist[id] = uint32_t(stream.add(record));
    const uint32_t directoryAt = uint32_t(stream.add(persistDirectory(directory)));
    stream.currentEdit = uint32_t(stream.add(userEdit(0, directoryAt, 1)));
    return stream;
}

// The compound file: "PowerPoint Document", "Current User" unless left out,
// and the extra streams given.
inline std::string buildPptFile(const PptStream& stream, bool withCurrentUser = true,
                                const std::vector<std::pair<std::string, std::string>>& extra = {})
{
    CompoundFileBuilder builder;
    builder.add("PowerPoint Document", stream.bytes);
    if (withCurrentUser)
        builder.add("Current User", currentUser(stream.currentEdit));
    for (const auto& [name, data] : extra)
        builder.add(name, data);
    return builder.build();
}

}  // namespace quillet::test
