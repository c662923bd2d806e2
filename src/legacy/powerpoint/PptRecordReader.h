#pragma once

#include <cstdint>
#include <string>

namespace quillet {

class CompoundStream;

// Record types of the binary presentation format acted on by the reader.
namespace ppt_record {
constexpr int Slide = 1006;
constexpr int Notes = 1008;
constexpr int SlidePersistAtom = 1011;
constexpr int OutlineTextRefAtom = 3998;
constexpr int SlideListWithText = 4080;
constexpr int TextCharsAtom = 4000;
constexpr int TextBytesAtom = 4008;
constexpr int CString = 4026;
constexpr int UserEditAtom = 4085;
constexpr int CurrentUserAtom = 4086;
constexpr int PersistDirectoryAtom = 6002;
constexpr int Comment10 = 12000;
constexpr int BinaryTagDataBlob = 5003;
constexpr int TertiaryFopt = 0xF122;
}  // namespace ppt_record

// Walks one record of a stream and, for a container, everything nested in
// it, in pre-order: next() makes the following header pending, enter() steps
// into it. Entering a container gives it an empty body, so its children come
// as the following records. Reads beyond the record, the current body or the
// work budget raise CompoundFileError.
class PptRecordReader {
public:
    // Reads the first header at the stream's position. work, when given, is
    // shared by the readers of one run and counts every byte they pass.
    explicit PptRecordReader(CompoundStream& stream, int64_t* work = nullptr);
    PptRecordReader(const PptRecordReader&) = delete;
    PptRecordReader& operator=(const PptRecordReader&) = delete;

    bool next();
    int type() const { return type_; }
    int instance() const { return instance_; }
    int32_t length() const { return length_; }
    void enter();
    // Enters an atom whose body is itself a sequence of records.
    void enterAsContainer();

    uint32_t readU32();
    uint16_t readU16();
    // The length is checked before anything is allocated.
    void readBytes(std::string& out, int64_t count);
    // UTF-16LE with wide (an odd last byte passed over), else one unit per byte.
    void readText(std::u16string& out, int64_t count, bool wide);
    void skip(int64_t count);
    void skipRest();
    int64_t bytesLeft() const { return bodyLength_ < 0 ? 0 : bodyLength_ - position_; }

private:
    static constexpr int64_t kPending = -1;
    bool readHeader();
    void require(int64_t count);
    void consumed(int64_t count);

    CompoundStream& stream_;
    int64_t* work_;
    int64_t budget_ = 0;
    int64_t position_ = 0;
    int64_t bodyLength_ = 0;
    int version_ = 0;
    int instance_ = 0;
    int type_ = 0;
    int32_t length_ = 0;
    bool pendingValid_ = false;
};

}  // namespace quillet
