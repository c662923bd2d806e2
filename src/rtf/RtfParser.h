#pragma once

#include "output/DocumentMetadata.h"
#include "platform/CodePage.h"
#include "rtf/RtfParserState.h"
#include "rtf/RtfToken.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quillet {

class RtfParseTarget;

// A one-pass RTF text extractor: known control words act, a fixed set of
// destinations (and every unknown "\*" destination) is skipped whole, text is
// decoded through the code page of its font's character set, else the
// document's ANSI code page, pictures become records.
class RtfParser {
public:
    // Header and footer groups are skipped, or with withHeadersFooters read
    // and appended after the body.
    // With metadata, the \info group's properties go there; without, the group
    // is skipped unread.
    explicit RtfParser(bool withHeadersFooters = false, DocumentMetadata* metadata = nullptr);
    RtfParser(const RtfParser&) = delete;
    RtfParser& operator=(const RtfParser&) = delete;

    // Always 1: malformed input ends the parse, it never fails it.
    int parse(RtfParseTarget& document);

private:
    bool readToken(RtfToken& token);
    void act(const RtfToken& token);
    void actOnSymbol(const RtfToken& token);
    void actOnWord(const RtfToken& token, bool markedDestination);
    void hexRun(const RtfToken& first);
    void textRun();
    // With fonts, the font numbers and character sets met are recorded.
    void skipGroup(bool fonts = false);
    void skipBinary(int count);
    void readPicture();
    void openGroup();
    void closeGroup();
    void appendDecoded(const std::string& bytes);
    unsigned effectiveCodePage() const;
    void takeTrailByte(std::string& bytes);
    // Text goes to the document, or while a header or footer group is read,
    // aside until the body ends.
    void emit(const std::u16string& text);
    // Inside the \info group: its fields' words; false for a word it does not take.
    bool actOnInfoWord(const RtfToken& token);
    void endInfoField();
    void emitUnit(char16_t unit);
    void emitChar(char byte);

    // Bytes of one text run decoded at a time.
    static constexpr size_t kDecodePiece = 64 * 1024;

    RtfParserState state_;
    // Runs of equal saved states, so deep nesting of plain groups costs
    // nothing; depth_ is the number of open groups.
    std::vector<std::pair<RtfParserState, uint32_t>> groups_;
    size_t depth_ = 0;
    RtfToken token_;
    RtfToken ahead_;
    bool tokenPending_ = false;
    bool destinationMarked_ = false;  // the last thing acted on was "\*"
    std::unordered_set<int> skipSet_;
    std::unordered_map<int, unsigned> fontCodePages_;  // fonts whose character set names a code page
    int defaultFont_ = -1;
    bool withHeadersFooters_;
    size_t asideDepth_ = 0;  // the depth of the header or footer group read aside; 0 for none
    std::u16string aside_;
    // The \info group being read (its depth; 0 outside), the field open in it
    // and the text or time parts gathered for that field.
    DocumentMetadata* metadata_;
    size_t infoDepth_ = 0;
    size_t infoFieldDepth_ = 0;
    const char* infoField_ = nullptr;
    bool infoFieldIsTime_ = false;
    std::u16string infoText_;
    int infoTime_[5] = {};  // year, month, day, hour, minute

    RtfParseTarget* document_ = nullptr;
    const uint8_t* cursor_ = nullptr;
    const uint8_t* end_ = nullptr;
    std::string bytes_;
    std::u16string units_;
    std::vector<platform::CodePageDecoder> decoders_;  // one per code page met
};

}  // namespace quillet
