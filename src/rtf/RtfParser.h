#pragma once

#include "platform/CodePage.h"
#include "rtf/RtfParserState.h"
#include "rtf/RtfToken.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quillet {

class RtfParseTarget;

// A one-pass RTF text extractor: known control words act, a fixed set of
// destinations (and every unknown "\*" destination) is skipped whole, text is
// decoded through the document's ANSI code page, pictures become records.
class RtfParser {
public:
    RtfParser();
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
    void skipGroup();
    void skipBinary(int count);
    void readPicture();
    void openGroup();
    void closeGroup();
    void appendDecoded(const std::string& bytes);

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

    RtfParseTarget* document_ = nullptr;
    const uint8_t* cursor_ = nullptr;
    const uint8_t* end_ = nullptr;
    std::string bytes_;
    std::u16string units_;
    platform::CodePageDecoder decoder_{0};
};

}  // namespace quillet
