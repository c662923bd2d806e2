#pragma once

#include "compound/CompoundStream.h"
#include "output/TextSink.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

class CompoundFile;

// The text of a binary presentation: the document container is found through
// the user edits and persist directories, its slide lists are collected with
// their placeholder texts, then each slide is written (PptSlideWriter).
// One reader serves one run.
class DocumentRecord;

class PptTextReader {
public:
    PptTextReader() = default;
    PptTextReader(const PptTextReader&) = delete;
    PptTextReader& operator=(const PptTextReader&) = delete;

    // With flag 0x10 the text goes to "1.txt" (notes and comments too, and
    // slides in storage order, with 0x110); with 0x01 the "Pictures" stream
    // is written. Returns 0, 4101 (no text could be produced) or 4102.
    int extract(CompoundFile& file, const std::string& folder, uint32_t flags);
    // The text step on a "PowerPoint Document" stream, given the current
    // edit's offset (-1 when unknown). Returns 0, 4101 or 4102.
    int extractText(CompoundStream& document, int64_t currentEdit, const std::string& folder, uint32_t flags);
    // Where each slide's and notes page's text starts goes into the record.
    void setRecord(DocumentRecord* record) { record_ = record; }

    // Every byte the readers of one run pass, headers included, counts
    // against this many per byte of the stream, so that records pointing
    // into each other cannot make the run go on without end.
    static constexpr int64_t kWorkPerStreamByte = 16;
    static constexpr int64_t kWorkAllowance = 1 << 20;

private:
    DocumentRecord* record_ = nullptr;
    enum class Located { Found, NotFound, Encrypted };

    Located locateContainer(int64_t currentEdit, int64_t& container);
    Located followEditChain(int64_t currentEdit, int64_t& container);
    Located scanUserEdits(int64_t& container);
    Located scanPersistDirectories(int64_t& container);
    void readPersistDirectory(int64_t offset);
    void readAllPersistDirectoriesNewestFirst();
    // The offsets of the records of this type in a walk over the top level.
    std::vector<int64_t> topLevelRecords(int type);
    void collect();
    bool writeSlides(uint32_t flags);

    std::vector<int64_t> slideList_;
    // A page's place in its list (slides or notes), from 1: its part's number.
    std::unordered_map<int64_t, int> pageNumbers_;
    std::map<int32_t, int32_t> persistDirectory_;
    std::map<int64_t, std::vector<std::u16string>> slideTexts_;
    CompoundStream* document_ = nullptr;
    std::unique_ptr<TextSink> sink_;
    int64_t work_ = 0;
};

// The offset of the current edit from the "Current User" stream; -1 when
// the stream is absent, damaged or holds no current-user record.
int64_t readCurrentEditOffset(CompoundFile& file);

// The entry of the dispatch: binary presentations ("PowerPoint Document"
// stream).
int exportPresentationDocument(CompoundFile& file, const std::string& folder, uint32_t flags,
                               DocumentRecord* record = nullptr);

}  // namespace quillet
