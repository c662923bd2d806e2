#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class CompoundStream;

// The records of a BIFF8 "Workbook" stream: a 16-bit type, a 16-bit length
// and that many bytes. Values and characters that run past the current record
// continue in the CONTINUE records after it (a drawing group's, see
// kDrawingGroup). A record's body is read whole when it is begun, so a read
// never reaches the next record's header.
class BiffReader {
public:
    static constexpr int kContinue = 0x003C;
    // Excel goes on with a drawing group too long for one record in further
    // drawing-group records, not in CONTINUE records.
    static constexpr int kDrawingGroup = 0x00EB;

    explicit BiffReader(CompoundStream& stream);
    BiffReader(const BiffReader&) = delete;
    BiffReader& operator=(const BiffReader&) = delete;

    // Passes over what is left of the current record and reads the next
    // header; false when fewer than 4 bytes remain in the stream.
    bool nextRecord();
    // Makes the next record current; a length beyond the stream passes over
    // the rest of the stream and leaves the record empty. Raises
    // CompoundFileError when no next type has been read.
    void beginRecord();

    int type() const { return type_; }
    size_t left() const { return body_.size() - at_; }
    // Nothing is left of the current record nor of its continuation.
    bool atEnd() { return left() == 0 && !continuesInNext(); }
    // The type of the record after the current one, read on demand; -1 at
    // the end of the stream.
    int nextType();

    // 0 when the record is exhausted and no CONTINUE follows; a value split
    // with no CONTINUE after it raises CompoundFileError.
    uint8_t readU8();
    uint16_t readU16();
    // Raises CompoundFileError whenever its four bytes are not there.
    uint32_t readU32();
    void readBytes(void* out, size_t count);
    // byteCount bytes of 8-bit or 16-bit characters, appended to out. In a
    // CONTINUE record the first byte chooses the width anew; without one the
    // string ends where the record does.
    void readChars(std::u16string& out, size_t byteCount, bool sixteenBit);
    // A count, an option byte and the characters.
    void readString(std::u16string& out);
    // The shared-string form: formatting runs and phonetic data passed over.
    void readRichString(std::u16string& out);
    // Goes on into CONTINUE records and records of the current type; stops
    // quietly before any other record.
    void skip(uint64_t count);
    void skipRecord() { at_ = body_.size(); }

private:
    bool continuesInNext();
    bool continueRecord();
    void take(uint8_t* out, size_t count, bool zeroWhenAbsent);

    CompoundStream& stream_;
    int type_ = -1;
    int nextType_ = -1;
    size_t nextLength_ = 0;
    std::vector<uint8_t> body_;
    size_t at_ = 0;
};

}  // namespace quillet
