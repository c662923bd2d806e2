#include "legacy/word/WordParagraphLists.h"

#include "compound/CompoundStream.h"
#include "legacy/word/WordFib.h"

#include <algorithm>
#include <array>

namespace quillet {
namespace {

constexpr size_t kPageBytes = 512;
constexpr uint16_t kListOverrideProperty = 0x460B;
constexpr uint16_t kListLevelProperty = 0x260A;
constexpr uint16_t kTableDefinitionProperty = 0xD608;
constexpr uint16_t kTabChangeProperty = 0xC615;
// A paragraph's mark is looked for this far ahead, so that a damaged piece
// table costs no more than that per paragraph.
constexpr size_t kPiecesPerParagraph = 64;
constexpr uint16_t kParagraphStyle = 1;
constexpr uint16_t kNoStyle = 0x0FFF;
constexpr int kStyleDepth = 16;

uint16_t u16At(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}
uint32_t u32At(const uint8_t* at)
{
    return uint32_t(u16At(at)) | uint32_t(u16At(at + 2)) << 16;
}

// The list properties among a paragraph's property modifiers; a modifier
// whose size cannot be told ends the walk.
WordParagraphLists::Membership listOf(const uint8_t* at, size_t size)
{
    WordParagraphLists::Membership list;
    size_t i = 0;
    while (i + 2 <= size) {
        const uint16_t property = u16At(at + i);
        i += 2;
        size_t operand = 0;
        switch (property >> 13) {
        case 0:
        case 1:
            operand = 1;
            break;
        case 2:
        case 4:
        case 5:
            operand = 2;
            break;
        case 3:
            operand = 4;
            break;
        case 7:
            operand = 3;
            break;
        default:
            if (property == kTableDefinitionProperty) {
                if (i + 2 > size)
                    return list;
                operand = size_t(u16At(at + i)) + 1;
            } else {
                if (i >= size || (property == kTabChangeProperty && at[i] == 255))
                    return list;
                operand = size_t(at[i]) + 1;
            }
        }
        if (i + operand > size)
            return list;
        if (property == kListOverrideProperty) {
            list.override = int16_t(u16At(at + i));
            list.overrideSet = true;
        } else if (property == kListLevelProperty) {
            list.level = at[i];
            list.levelSet = true;
        }
        i += operand;
    }
    return list;
}

}  // namespace

void WordParagraphLists::read(CompoundStream& wordDocument, CompoundStream& table, const WordFib& fib)
{
    runs_.clear();
    anyList_ = false;
    readStyles(table, fib);
    if (fib.paragraphBinsSize < 4 || !table.seek(fib.paragraphBinsOffset))
        return;
    // n + 1 positions, then n page numbers.
    const int64_t pages = std::min<int64_t>((int64_t(fib.paragraphBinsSize) - 4) / 8, table.remaining() / 8);
    table.skip((pages + 1) * 4);
    // A page may be named twice, but never read more often than the stream holds pages.
    const int64_t most = wordDocument.size() / int64_t(kPageBytes) + 1;
    std::array<uint8_t, kPageBytes> page{};
    for (int64_t i = 0; i < std::min(pages, most); ++i) {
        const int64_t at = int64_t(table.readU32() & 0x3FFFFF) * int64_t(kPageBytes);
        const int64_t resume = wordDocument.position();
        if (at + int64_t(kPageBytes) > wordDocument.size() || !wordDocument.seek(at))
            continue;
        wordDocument.readBytes(page.data(), kPageBytes);
        readPage(page.data());
        wordDocument.seek(resume);
    }
    std::stable_sort(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) { return a.start < b.start; });
}

void WordParagraphLists::readStyles(CompoundStream& table, const WordFib& fib)
{
    styles_.clear();
    if (fib.stylesSize < 4 || !table.seek(fib.stylesOffset))
        return;
    const int64_t end = int64_t(fib.stylesOffset) + fib.stylesSize;
    const uint16_t headerSize = table.readU16();
    const int64_t header = table.position();
    const uint16_t count = table.readU16();
    const uint16_t baseSize = table.readU16();
    if (headerSize < 4 || baseSize < 10 || table.position() - 4 + headerSize > end)
        return;
    table.seek(header + headerSize);
    std::vector<Membership> own(count);
    std::vector<uint16_t> bases(count, kNoStyle);
    std::vector<uint8_t> data;
    for (uint16_t i = 0; i < count && table.position() + 2 <= end; ++i) {
        const uint16_t size = table.readU16();
        if (size == 0)
            continue;
        const int64_t next = table.position() + size;
        if (next > end)
            return;
        data.resize(size);
        table.readBytes(data.data(), size);
        // Paragraph styles hold their paragraph properties first, after the name.
        const uint16_t kindAndBase = size >= 4 ? u16At(data.data() + 2) : 0;
        if ((kindAndBase & 0x0F) != kParagraphStyle || size < size_t(baseSize) + 2)
            continue;
        bases[i] = uint16_t(kindAndBase >> 4);
        const size_t nameUnits = u16At(data.data() + baseSize);
        size_t at = size_t(baseSize) + 2 + (nameUnits + 1) * 2;
        if (at + 2 > size)
            continue;
        const size_t propertiesSize = u16At(data.data() + at);
        at += 2;
        // The style number comes first.
        if (propertiesSize >= 2 && propertiesSize <= size - at)
            own[i] = listOf(data.data() + at + 2, propertiesSize - 2);
    }
    // Each style takes what its bases set and it does not.
    styles_.resize(count);
    for (uint16_t i = 0; i < count; ++i) {
        Membership list = own[i];
        uint16_t base = bases[i];
        for (int depth = 0; depth < kStyleDepth && base < count; ++depth, base = bases[base]) {
            if (!list.overrideSet && own[base].overrideSet) {
                list.override = own[base].override;
                list.overrideSet = true;
            }
            if (!list.levelSet && own[base].levelSet) {
                list.level = own[base].level;
                list.levelSet = true;
            }
        }
        styles_[i] = list;
    }
}

void WordParagraphLists::readPage(const uint8_t* page)
{
    // Each run: its start position, and after the positions a 13-byte entry
    // whose first byte is the word offset of its properties.
    const size_t count = page[kPageBytes - 1];
    const size_t entries = (count + 1) * 4;
    if (count == 0 || entries + count * 13 > kPageBytes - 1)
        return;
    for (size_t i = 0; i < count; ++i) {
        Run run;
        run.start = u32At(page + i * 4);
        run.end = u32At(page + i * 4 + 4);
        if (run.end <= run.start)
            continue;
        const size_t at = size_t(page[entries + i * 13]) * 2;
        // A zero size byte says the size is in the next byte, in words.
        size_t from = at + 1;
        size_t size = size_t(page[at]) * 2 - 1;
        if (at != 0 && page[at] == 0)
            size = from < kPageBytes - 1 ? size_t(page[from++]) * 2 : 0;
        // The style number comes first.
        if (at != 0 && at < kPageBytes - 1 && size >= 2 && size <= kPageBytes - 1 - from) {
            run.list = listOf(page + from + 2, size - 2);
            const size_t style = u16At(page + from);
            if (style < styles_.size()) {
                if (!run.list.overrideSet)
                    run.list.override = styles_[style].override;
                if (!run.list.levelSet)
                    run.list.level = styles_[style].level;
            }
        }
        anyList_ = anyList_ || run.list.override > 0;
        runs_.push_back(run);
    }
}

const WordParagraphLists::Run* WordParagraphLists::runAt(uint32_t fc) const
{
    auto next =
        std::upper_bound(runs_.begin(), runs_.end(), fc, [](uint32_t at, const Run& run) { return at < run.start; });
    if (next == runs_.begin())
        return nullptr;
    --next;
    return fc < next->end ? &*next : nullptr;
}

WordParagraphLists::Membership WordParagraphLists::at(const std::vector<WordPiece>& pieces, size_t index,
                                                      int32_t cp) const
{
    if (index >= pieces.size() || cp < pieces[index].firstCharacter || cp >= pieces[index].endCharacter)
        return {};
    const WordPiece& first = pieces[index];
    // Positions of a damaged piece table may lie a whole int apart: subtract them unsigned.
    uint32_t fc = first.byteOffset + (uint32_t(cp) - uint32_t(first.firstCharacter)) * (first.unicode ? 2 : 1);
    const size_t last = std::min(pieces.size(), index + kPiecesPerParagraph);
    for (size_t i = index; i < last; ++i) {
        const WordPiece& piece = pieces[i];
        if (i != index)
            fc = piece.byteOffset;
        if (piece.endCharacter <= piece.firstCharacter)
            continue;
        const uint32_t pieceEnd = piece.byteOffset + (uint32_t(piece.endCharacter) - uint32_t(piece.firstCharacter)) *
                                                         (piece.unicode ? 2 : 1);
        const Run* run = runAt(fc);
        if (run == nullptr)
            return {};
        if (run->end <= pieceEnd)
            return run->list;
    }
    return {};
}

}  // namespace quillet
