#pragma once

// Binary presentations: records, the document container with its slide lists, slides, notes and masters,
// persist directories, user edits and the "Current User" stream, laid out in a compound file.

#include "support/CompoundFileBuilder.h"
#include "support/OfficeArtBuilder.h"

#include <algorithm>
#include <map>

namespace quillet::test {

inline std::string pptAtom(uint16_t type, const std::string& body, uint16_t instance = 0)
{
    return artHeader(instance, type, uint32_t(body.size())) + body;
}
inline std::string pptContainer(uint16_t type, const std::vector<std::string>& children, uint16_t instance = 0)
{
    std::string body;
    for (const std::string& child : children)
        body += child;
    return artHeader(instance, type, uint32_t(body.size()), 0xF) + body;
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

// Persist id -> offset, each id written as its own run of one.
inline std::string persistDirectory(const std::map<uint32_t, uint32_t>& entries)
{
    std::string body;
    for (const auto& [id, offset] : entries)
        body += le32(id | (1u << 20)) + le32(offset);
    return pptAtom(6002, body);
}

// extra bytes past 28 mark an encrypted presentation.
inline std::string userEdit(uint32_t lastEdit, uint32_t persistDirectoryAt, size_t extra = 0)
{
    return pptAtom(4085, le32(0) + le16(0) + le16(0x0300) + le32(lastEdit) + le32(persistDirectoryAt) + le32(1) +
                             le32(8) + le16(1) + le16(0) + std::string(extra, '\0'));
}

struct PptPage {
    std::vector<std::u16string> placeholders;  // held in the slide list, named by outline references
    std::vector<std::string> records;          // inside the slide or notes container
};

struct PptPlan {
    std::vector<PptPage> slides, notes, masters;  // masters: slide records in the master list, as title masters are
    bool reverseStorage = false;                  // pages stored last to first
};

// The stream and where its last user edit lies; id 1 is the document.
struct PptStream {
    std::string bytes;
    uint32_t currentEdit = 0;
    std::map<uint32_t, uint32_t> persist = {};  // every id's offset
    uint32_t add(const std::string& record)
    {
        bytes += record;
        return uint32_t(bytes.size() - record.size());
    }
    // An edit after the others: these records, stored in this order, replace their ids and, as writers
    // do, the edit names the document again.
    void saveEdit(const std::vector<std::pair<uint32_t, std::string>>& records, size_t extra = 0)
    {
        std::map<uint32_t, uint32_t> directory{{1, persist[1]}};
        for (const auto& [id, record] : records)
            directory[id] = persist[id] = add(record);
        const uint32_t directoryAt = add(persistDirectory(directory));
        currentEdit = add(userEdit(currentEdit, directoryAt, extra));
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
            lists[list].push_back(pptAtom(1011, le32(next) + std::string(16, '\0')));
            for (const std::u16string& text : page.placeholders)
                lists[list].push_back(textChars(text));
            pages.emplace_back(next++, pptContainer(type, page.records));
        }
    };
    listPages(plan.masters, 1, 1006);
    listPages(plan.slides, 0, 1006);
    listPages(plan.notes, 2, 1008);
    PptStream stream;
    std::vector<std::string> children{pptAtom(1001, std::string(40, '\0'))};
    for (int list : {1, 0, 2})  // the slide list's instance is its index
        if (!lists[list].empty())
            children.push_back(pptContainer(4080, lists[list], uint16_t(list)));
    stream.persist[1] = stream.add(pptContainer(1000, children));
    if (plan.reverseStorage)
        std::reverse(pages.begin(), pages.end());
    stream.saveEdit(pages);
    return stream;
}

// The compound file: "PowerPoint Document", "Current User" unless left out, and the other streams given.
inline std::string buildPptFile(const PptStream& stream, bool withCurrentUser = true,
                                const std::vector<std::pair<std::string, std::string>>& others = {})
{
    CompoundFileBuilder builder;
    builder.add("PowerPoint Document", stream.bytes);
    if (withCurrentUser)
        builder.add("Current User", pptAtom(4086, le32(20) + le32(0xE391C05F) + le32(stream.currentEdit) + le16(4) +
                                                      le16(0x3F4) + le16(3) + le16(0) + "user"));
    for (const auto& [name, data] : others)
        builder.add(name, data);
    return builder.build();
}

}  // namespace quillet::test
