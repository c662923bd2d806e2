#include "legacy/powerpoint/PptTextReader.h"

#include "compound/CompoundFile.h"
#include "legacy/powerpoint/PptRecordReader.h"
#include "legacy/powerpoint/PptSlideWriter.h"
#include "legacy/powerpoint/PresentationPictures.h"
#include "output/OutputFailure.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <set>

namespace quillet {
namespace {

// A user edit longer than this carries encryption data.
constexpr int32_t kPlainUserEditLength = 28;
// The instance of the slide list that holds the masters.
constexpr int kMasterList = 1;

}  // namespace

int64_t readCurrentEditOffset(CompoundFile& file)
{
    const std::unique_ptr<CompoundStream> stream = file.openStream("Current User");
    if (!stream || stream->status() != 0)
        return -1;
    PptRecordReader reader(*stream);
    if (!reader.next() || reader.type() != ppt_record::CurrentUserAtom)
        return -1;
    reader.enter();
    reader.skip(8);  // size, headerToken
    return reader.readU32();
}

// Newer offsets are read first where the edit chain is followed, so an id
// already known keeps its offset.
void PptTextReader::readPersistDirectory(int64_t offset)
{
    if (!document_->seek(offset))
        return;
    PptRecordReader reader(*document_, &work_);
    if (!reader.next() || reader.type() != ppt_record::PersistDirectoryAtom || reader.length() < 1)
        return;
    reader.enter();
    while (reader.bytesLeft() > 0) {
        const uint32_t word = reader.readU32();
        const int32_t first = int32_t(word & 0xFFFFF);
        const uint32_t count = word >> 20;
        for (uint32_t k = 0; k < count; ++k) {
            const int32_t at = int32_t(reader.readU32());
            persistDirectory_.emplace(first + int32_t(k), at);
        }
    }
}

PptTextReader::Located PptTextReader::followEditChain(int64_t currentEdit, int64_t& container)
{
    bool found = false;
    std::set<int64_t> seen;
    for (int64_t offset = currentEdit; offset != 0;) {
        // A chain that comes back to an edit already read ends there; the
        // edits it no longer reaches still name the older objects.
        if (!seen.insert(offset).second) {
            readAllPersistDirectoriesNewestFirst();
            break;
        }
        if (!document_->seek(offset))
            break;
        PptRecordReader reader(*document_, &work_);
        if (!reader.next() || reader.type() != ppt_record::UserEditAtom)
            break;
        reader.enter();
        if (reader.length() > kPlainUserEditLength)
            return Located::Encrypted;
        reader.skip(8);  // lastSlideIdRef, version, minorVersion, majorVersion
        const uint32_t lastEdit = reader.readU32();
        const uint32_t persistDirectory = reader.readU32();
        const int32_t documentRef = int32_t(reader.readU32());
        readPersistDirectory(persistDirectory);
        if (!found) {
            const auto entry = persistDirectory_.find(documentRef);
            if (documentRef == -1 || entry == persistDirectory_.end())
                break;
            container = entry->second;
            found = true;
        }
        offset = lastEdit;
    }
    return found ? Located::Found : Located::NotFound;
}

// Stream order: the earliest offset of an id wins, the last edit met names
// the document.
PptTextReader::Located PptTextReader::scanUserEdits(int64_t& container)
{
    bool haveRef = false;
    int32_t documentRef = -1;
    for (const int64_t offset : topLevelRecords(ppt_record::UserEditAtom)) {
        document_->seek(offset);
        PptRecordReader reader(*document_, &work_);
        reader.next();
        reader.enter();
        if (reader.length() > kPlainUserEditLength)
            return Located::Encrypted;
        reader.skip(12);
        const uint32_t persistDirectory = reader.readU32();
        documentRef = int32_t(reader.readU32());
        haveRef = true;
        readPersistDirectory(persistDirectory);
    }
    if (!haveRef)
        return Located::NotFound;
    const auto entry = persistDirectory_.find(documentRef);
    if (entry == persistDirectory_.end())
        return Located::NotFound;
    container = entry->second;
    return Located::Found;
}

std::vector<int64_t> PptTextReader::topLevelRecords(int type)
{
    std::vector<int64_t> found;
    for (int64_t offset = 0; document_->seek(offset);) {
        PptRecordReader reader(*document_, &work_);
        if (!reader.next())
            break;
        const int64_t following = offset + 8 + int64_t(reader.length());
        if (reader.type() == type)
            found.push_back(offset);
        // A negative container length must not walk backwards.
        if (following <= offset)
            break;
        offset = following;
    }
    return found;
}

void PptTextReader::readAllPersistDirectoriesNewestFirst()
{
    const std::vector<int64_t> directories = topLevelRecords(ppt_record::PersistDirectoryAtom);
    for (auto at = directories.rbegin(); at != directories.rend(); ++at)
        readPersistDirectory(*at);
}

PptTextReader::Located PptTextReader::scanPersistDirectories(int64_t& container)
{
    for (const int64_t offset : topLevelRecords(ppt_record::PersistDirectoryAtom))
        readPersistDirectory(offset);
    if (persistDirectory_.empty())
        return Located::NotFound;
    container = 0;
    return Located::Found;
}

PptTextReader::Located PptTextReader::locateContainer(int64_t currentEdit, int64_t& container)
{
    // An edit offset of 0 cannot name an edit (the stream starts with the
    // document), so it is treated like a missing one and the stream is scanned.
    if (currentEdit > 0) {
        const Located edits = followEditChain(currentEdit, container);
        if (edits != Located::NotFound)
            return edits;
    }
    const Located scanned = scanUserEdits(container);
    if (scanned != Located::NotFound)
        return scanned;
    return scanPersistDirectories(container);
}

void PptTextReader::collect()
{
    PptRecordReader reader(*document_, &work_);
    bool inSlide = false;
    bool inMasterList = false;
    int list = 0;
    std::map<int, int> listed;  // pages so far, by list
    std::u16string text;
    while (reader.next()) {
        const int type = reader.type();
        if (type == ppt_record::SlideListWithText) {
            list = reader.instance();
            inMasterList = list == kMasterList;
        }
        reader.enter();
        if (type == ppt_record::SlidePersistAtom) {
            // Title masters are slide records too; only the master list
            // tells them apart.
            const auto entry =
                inMasterList ? persistDirectory_.end() : persistDirectory_.find(int32_t(reader.readU32()));
            inSlide = entry != persistDirectory_.end();
            if (inSlide) {
                slideList_.push_back(entry->second);
                pageNumbers_.emplace(entry->second, ++listed[list]);
            }
        } else if ((type == ppt_record::TextCharsAtom || type == ppt_record::TextBytesAtom) && inSlide) {
            reader.readText(text, reader.bytesLeft(), type == ppt_record::TextCharsAtom);
            slideTexts_[slideList_.back()].push_back(std::move(text));
        }
        reader.skipRest();
    }
}

bool PptTextReader::writeSlides(uint32_t flags)
{
    const bool extras = (flags & (WriteText | WriteExtras)) == (WriteText | WriteExtras);
    if (extras)
        std::sort(slideList_.begin(), slideList_.end());
    bool result = true;
    for (const int64_t offset : slideList_) {
        const auto texts = slideTexts_.find(offset);
        PptSlideWriter writer(texts != slideTexts_.end() ? texts->second : std::vector<std::u16string>(), *document_,
                              *sink_, &work_);
        result = writer.write(offset, extras, pageNumbers_[offset]) && result;
    }
    return result;
}

int PptTextReader::extractText(CompoundStream& document, int64_t currentEdit, const std::string& folder, uint32_t flags)
{
    document_ = &document;
    work_ = document.size() * kWorkPerStreamByte + kWorkAllowance;
    int64_t container = -1;
    switch (locateContainer(currentEdit, container)) {
    case Located::Encrypted:
        return Encrypted;
    case Located::NotFound:
        return Refused;
    case Located::Found:
        break;
    }
    if (!document.seek(container))
        return Refused;
    sink_ = std::make_unique<TextSink>(folder, TextSink::FileForm::Utf8Lines);
    sink_->setRecord(record_);
    collect();
    const bool written = writeSlides(flags);
    return int(OutputFailure(sink_->close()).result(written ? Success : Refused));
}

int PptTextReader::extract(CompoundFile& file, const std::string& folder, uint32_t flags)
{
    int result = Success;
    if ((flags & WriteText) != 0) {
        if (file.openStream("ZebEncryptionInfo"))
            return Encrypted;
        const int64_t currentEdit = readCurrentEditOffset(file);
        const std::unique_ptr<CompoundStream> document = file.openStream("PowerPoint Document");
        result = document ? extractText(*document, currentEdit, folder, flags) : int(Refused);
        if (result == Encrypted)
            return Encrypted;
    }
    if ((flags & WritePictures) != 0) {
        const std::unique_ptr<CompoundStream> pictures = file.openStream("Pictures");
        if (pictures && pictures->status() == 0)
            return int(OutputFailure(extractPresentationPictures(*pictures, pictures->size(), folder))
                           .result(uint32_t(result)));
    }
    return result;
}

int exportPresentationDocument(CompoundFile& file, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    PptTextReader reader;
    reader.setRecord(record);
    return reader.extract(file, folder, flags);
}

}  // namespace quillet
