#include "rtf/RtfParser.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "rtf/RtfKeywords.h"
#include "rtf/RtfParseTarget.h"
#include "rtf/RtfPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>

namespace quillet {
namespace {

bool isLetter(uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

int hexValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int pictureKind(int id)
{
    switch (id) {
    case kwJpegblip:
        return RtfPicture::Jpeg;
    case kwPngblip:
        return RtfPicture::Png;
    case kwMacpict:
        return RtfPicture::Pict;
    case kwDibitmap:
    case kwWbitmap:
        return RtfPicture::Bitmap;
    case kwEmfblip:
        return RtfPicture::Emf;
    case kwPmmetafile:
    case kwWmetafile:
        return RtfPicture::Wmf;
    default:
        return RtfPicture::Other;
    }
}

bool isHeaderOrFooter(int id)
{
    switch (id) {
    case kwHeader:
    case kwHeaderl:
    case kwHeaderr:
    case kwHeaderf:
    case kwFooter:
    case kwFooterl:
    case kwFooterr:
    case kwFooterf:
        return true;
    default:
        return false;
    }
}

// The Windows code page of an RTF font character set; 0 for the sets that
// name none (ANSI, default, symbol) and for unknown ones.
unsigned charsetCodePage(int charset)
{
    switch (charset) {
    case 128:
        return 932;  // Shift-JIS
    case 129:
        return 949;  // Hangul
    case 134:
        return 936;  // GBK
    case 136:
        return 950;  // Big5
    case 161:
        return 1253;  // Greek
    case 162:
        return 1254;  // Turkish
    case 177:
        return 1255;  // Hebrew
    case 178:
        return 1256;  // Arabic
    case 186:
        return 1257;  // Baltic
    case 204:
        return 1251;  // Cyrillic
    case 222:
        return 874;  // Thai
    case 238:
        return 1250;  // Eastern Europe
    default:
        return 0;
    }
}

bool isLeadByte(unsigned codePage, uint8_t byte)
{
    if (codePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return byte >= 0x81 && byte <= 0xFE;
}

// The bytes end with the first half of a double-byte character.
bool awaitsTrailByte(unsigned codePage, const std::string& bytes)
{
    if (codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950)
        return false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (isLeadByte(codePage, uint8_t(bytes[i])) && ++i == bytes.size())
            return true;
    }
    return false;
}

bool isPlainTrailByte(uint8_t c)
{
    return c >= 0x40 && c != '\\' && c != '{' && c != '}';
}

bool isEscapedTrailByte(char symbol)
{
    return symbol == '\\' || symbol == '{' || symbol == '}';
}

}  // namespace

RtfParser::RtfParser(bool withHeadersFooters, DocumentMetadata* metadata)
    : skipSet_{kwFiletbl,
               kwStylesheet,
               kwColortbl,
               kwListtable,
               kwInfo,
               kwShp,
               kwShpgrp,
               kwShpinst,
               kwSp,
               kwSv,
               kwSn,
               kwObject,
               kwFchars,
               kwLchars,
               kwXmlns,
               kwDatastore,
               kwThemedata,
               kwPnseclvl,
               kwWgrffmtfilter,
               kwColorschememapping,
               kwFldinst,
               kwBkmkstart,
               kwBkmkend,
               kwTemplate,
               kwGenerator,
               kwMailmerge},
      withHeadersFooters_(withHeadersFooters), metadata_(metadata)
{
}

int RtfParser::parse(RtfParseTarget& document)
{
    document_ = &document;
    document.dataBegin(cursor_);
    document.dataEnd(end_);
    if (cursor_ == nullptr || end_ == nullptr || end_ < cursor_)
        cursor_ = end_ = nullptr;

    while (cursor_ < end_) {
        if (state_.started && depth_ == 0)
            break;  // the outermost group has closed
        const uint8_t c = *cursor_;
        if (c == '\\') {
            ++cursor_;
            if (!readToken(token_))
                break;
            act(token_);
        } else if (c == '{') {
            destinationMarked_ = false;
            state_.started = true;
            state_.skipCount = 0;
            openGroup();
            ++cursor_;
        } else if (c == '}') {
            destinationMarked_ = false;
            ++cursor_;
            closeGroup();
        } else if (c == '\r' || c == '\n') {
            ++cursor_;  // source line breaks are neither text nor fallback units
        } else if (depth_ == 0) {
            ++cursor_;  // text before the first group
        } else {
            destinationMarked_ = false;
            textRun();
        }
    }
    if (!aside_.empty())
        document.appendText(aside_);
    document_ = nullptr;
    return 1;
}

// The cursor stands after a backslash.
bool RtfParser::readToken(RtfToken& token)
{
    if (cursor_ >= end_)
        return false;
    token.name.clear();
    token.id = 0;
    token.param = -1;
    token.symbol = '\0';
    token.isSymbol = false;

    if (isLetter(*cursor_)) {
        const uint8_t* start = cursor_;
        while (cursor_ < end_ && isLetter(*cursor_))
            ++cursor_;
        token.name.assign(reinterpret_cast<const char*>(start), size_t(cursor_ - start));
        // Digits and minus signs; the value is read like strtol, saturated.
        bool collected = false, negative = false, reading = true;
        int64_t value = 0;
        constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
        for (; cursor_ < end_ && (isDigit(*cursor_) || *cursor_ == '-'); ++cursor_) {
            const uint8_t d = *cursor_;
            if (!collected && d == '-')
                negative = true;
            else if (reading && isDigit(d))
                value = std::min<int64_t>(value * 10 + (d - '0'), kLimit);
            else
                reading = false;
            collected = true;
        }
        if (collected) {
            value = negative ? -value : std::min<int64_t>(value, kLimit - 1);
            token.param = int(value);
        }
        if (cursor_ < end_ && *cursor_ == ' ')
            ++cursor_;
        token.id = rtfKeywordId(token.name);
        return true;
    }

    token.isSymbol = true;
    token.symbol = char(*cursor_++);
    if (token.symbol == '\'') {
        if (end_ - cursor_ < 2) {
            cursor_ = end_;
            token.param = -1;  // the byte 0xFF as a signed 8-bit number
            return true;
        }
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            const int digit = hexValue(cursor_[i]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        cursor_ += 2;
        token.param = int8_t(uint8_t(value));
    }
    return true;
}

void RtfParser::act(const RtfToken& token)
{
    const bool marked = destinationMarked_;
    destinationMarked_ = false;
    if (state_.skipCount > 0) {
        --state_.skipCount;  // a whole control word or symbol is one fallback unit
        return;
    }
    if (token.isSymbol)
        actOnSymbol(token);
    else
        actOnWord(token, marked);
}

void RtfParser::actOnSymbol(const RtfToken& token)
{
    switch (token.symbol) {
    case '\\':
    case '{':
    case '}':
        emitChar(token.symbol);
        break;
    case '~':
        emitUnit(0x00A0);  // no-break space
        break;
    case '-':
        emitUnit(0x00AD);  // soft hyphen
        break;
    case '_':
        emitUnit(0x2011);  // non-breaking hyphen
        break;
    case '\'':
        hexRun(token);
        break;
    case '*':
        destinationMarked_ = true;
        break;
    default:
        break;
    }
}

void RtfParser::actOnWord(const RtfToken& token, bool markedDestination)
{
    if (token.id == kwFonttbl) {
        skipGroup(true);
        return;
    }
    if (token.id == kwInfo && metadata_ != nullptr && infoDepth_ == 0) {
        infoDepth_ = depth_;
        return;
    }
    if (infoDepth_ != 0 && actOnInfoWord(token))
        return;
    if (isHeaderOrFooter(token.id)) {
        if (!withHeadersFooters_)
            skipGroup();
        else if (asideDepth_ == 0)
            asideDepth_ = depth_;
        return;
    }
    // "\*" before a word we do not know marks a destination we cannot read;
    // pictures stored under shppict are the exception.
    if (skipSet_.count(token.id) != 0 || (markedDestination && token.id == kwUnknown && token.name != "shppict")) {
        skipGroup();
        return;
    }
    switch (token.id) {
    case kwPar:
    case kwRow:
        emit(u"\n");
        break;
    case kwCell:
        emit(u"\t");
        break;
    case kwLine:
    case kwSoftline:
    case kwEmspace:
    case kwEnspace:
        emit(u" ");
        break;
    case kwTab:
        emit(u"  ");
        break;
    case kwBullet:
        emit(u"\u2022");
        break;
    case kwLquote:
        emit(u"\u2018");
        break;
    case kwRquote:
        emit(u"\u2019");
        break;
    case kwLdblquote:
        emit(u"\u201C");
        break;
    case kwRdblquote:
        emit(u"\u201D");
        break;
    case kwEndash:
        emit(u"\u2013");
        break;
    case kwEmdash:
        emit(u"\u2014");
        break;
    case kwU:
        emitUnit(char16_t(uint32_t(token.param) & 0xFFFF));
        state_.skipCount = state_.ucCount;
        break;
    case kwUc:
        state_.ucCount = uint32_t(token.param);
        break;
    case kwUd:
        state_.ucCount = 0;
        break;
    case kwAnsicpg:
        state_.codePage = uint32_t(token.param);
        break;
    case kwF:
        state_.font = std::max(token.param, -1);
        break;
    case kwPlain:
        state_.font = -1;
        break;
    case kwDeff:
        defaultFont_ = token.param;
        break;
    case kwBin:
        skipBinary(token.param);
        break;
    case kwPict:
        readPicture();
        break;
    default:
        break;
    }
}

// Escapes in a row are decoded together, so double-byte characters stay whole.
// A double-byte character whose second byte is printable has it written as
// is, or escaped when it is a backslash or brace.
void RtfParser::hexRun(const RtfToken& first)
{
    std::string bytes(1, char(uint8_t(first.param)));
    const unsigned codePage = effectiveCodePage();
    while (cursor_ < end_) {
        while (cursor_ < end_ && (*cursor_ == '\r' || *cursor_ == '\n'))
            ++cursor_;
        if (cursor_ >= end_)
            break;
        if (*cursor_ != '\\') {
            if (!awaitsTrailByte(codePage, bytes) || !isPlainTrailByte(*cursor_))
                break;
            bytes.push_back(char(*cursor_++));
            continue;
        }
        ++cursor_;
        if (!readToken(ahead_))
            break;
        if (ahead_.isSymbol && ahead_.symbol == '\'') {
            bytes.push_back(char(uint8_t(ahead_.param)));
            continue;
        }
        if (ahead_.isSymbol && isEscapedTrailByte(ahead_.symbol) && awaitsTrailByte(codePage, bytes)) {
            bytes.push_back(ahead_.symbol);
            continue;
        }
        tokenPending_ = true;
        break;
    }
    appendDecoded(bytes);
    if (tokenPending_) {
        // Acted on at once, before anything that follows it.
        tokenPending_ = false;
        const RtfToken pending = ahead_;
        act(pending);
    }
}

// Line breaks in RTF source are neither text nor fallback units, and zero
// bytes are nothing at all. A long run is decoded in pieces, cut after two
// ASCII bytes, where no double-byte character can be split.
void RtfParser::textRun()
{
    bytes_.clear();
    while (cursor_ < end_) {
        const uint8_t c = *cursor_;
        if (c == '\\' || c == '{' || c == '}')
            break;
        ++cursor_;
        if (c == '\0' || c == '\r' || c == '\n')
            continue;
        if (state_.skipCount > 0) {
            --state_.skipCount;
            continue;
        }
        bytes_.push_back(char(c));
        if (bytes_.size() >= kDecodePiece && c < 0x80 && uint8_t(bytes_[bytes_.size() - 2]) < 0x80) {
            appendDecoded(bytes_);
            bytes_.clear();
        }
    }
    appendDecoded(bytes_);
}

void RtfParser::appendDecoded(const std::string& bytes)
{
    if (bytes.empty())
        return;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; });
    if (ascii) {
        units_.assign(bytes.begin(), bytes.end());
        emit(units_);
        return;
    }
    const unsigned codePage = effectiveCodePage();
    auto decoder = std::find_if(decoders_.begin(), decoders_.end(),
                                [codePage](const platform::CodePageDecoder& d) { return d.codePage() == codePage; });
    if (decoder == decoders_.end())
        decoder = decoders_.emplace(decoders_.end(), codePage);
    emit(decoder->decode(bytes.data(), bytes.size()));
}

// The character set of the font in effect names the page of its bytes; the
// document's ANSI page serves the fonts that name none.
unsigned RtfParser::effectiveCodePage() const
{
    const int font = state_.font >= 0 ? state_.font : defaultFont_;
    const auto named = fontCodePages_.find(font);
    return named != fontCodePages_.end() ? named->second : state_.codePage;
}

namespace {

struct InfoField {
    const char* word;
    const char* name;
    bool isTime;
};

// The \info group's destinations and the properties they hold.
constexpr InfoField kInfoFields[] = {
    {"title", "title", false},          {"subject", "subject", false},   {"author", "author", false},
    {"operator", "last_author", false}, {"keywords", "keywords", false}, {"doccomm", "comments", false},
    {"company", "company", false},      {"manager", "manager", false},   {"category", "category", false},
    {"creatim", "created", true},       {"revtim", "modified", true},    {"printim", "last_printed", true}};

constexpr const char* kTimeParts[] = {"yr", "mo", "dy", "hr", "min"};

}  // namespace

bool RtfParser::actOnInfoWord(const RtfToken& token)
{
    if (token.id == kwBin)
        return false;  // its bytes are passed over by their count, as anywhere
    if (token.id == kwPict) {
        skipGroup();
        return true;
    }
    if (infoField_ != nullptr) {
        if (!infoFieldIsTime_)
            return false;  // text words (\'e9, \u) decode as in the body
        for (size_t i = 0; i < 5; ++i) {
            if (token.name == kTimeParts[i])
                infoTime_[i] = token.param;
        }
        return true;
    }
    for (const InfoField& field : kInfoFields) {
        if (token.name == field.word) {
            infoField_ = field.name;
            infoFieldIsTime_ = field.isTime;
            infoFieldDepth_ = depth_;
            infoText_.clear();
            std::fill(std::begin(infoTime_), std::end(infoTime_), 0);
            return true;
        }
    }
    static const std::pair<const char*, const char*> counts[] = {
        {"nofpages", "pages"}, {"nofwords", "words"}, {"nofchars", "characters"}};
    for (const auto& [word, name] : counts) {
        if (token.name == word) {
            metadata_->setCount(name, token.param);
            return true;
        }
    }
    // Anything else (\version, \edmins, user properties) holds no property: a
    // group of its own is passed over, a word directly in \info ignored.
    if (depth_ > infoDepth_)
        skipGroup();
    return true;
}

void RtfParser::endInfoField()
{
    if (infoFieldIsTime_) {
        const int* t = infoTime_;
        // Local times without a zone, written as given.
        if (t[0] >= 1 && t[0] <= 9999 && t[1] >= 1 && t[1] <= 12 && t[2] >= 1 && t[2] <= 31 && t[3] >= 0 &&
            t[3] <= 23 && t[4] >= 0 && t[4] <= 59) {
            char text[32];
            std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00", t[0], t[1], t[2], t[3], t[4]);
            metadata_->setText(infoField_, text);
        }
    } else {
        const size_t first = infoText_.find_first_not_of(u" \t\r\n");
        const size_t last = infoText_.find_last_not_of(u" \t\r\n");
        if (first != std::u16string::npos)
            metadata_->setText(infoField_, utf16ToUtf8(infoText_.data() + first, last - first + 1));
    }
    infoField_ = nullptr;
    infoFieldDepth_ = 0;
}

void RtfParser::emit(const std::u16string& text)
{
    if (infoDepth_ != 0) {
        if (infoField_ != nullptr && !infoFieldIsTime_)
            infoText_ += text;
        return;
    }
    if (asideDepth_ != 0)
        aside_ += text;
    else
        document_->appendText(text);
}

void RtfParser::emitUnit(char16_t unit)
{
    if (infoDepth_ != 0) {
        if (infoField_ != nullptr && !infoFieldIsTime_)
            infoText_.push_back(unit);
        return;
    }
    if (asideDepth_ != 0)
        aside_.push_back(unit);
    else
        document_->appendUnit(unit);
}

void RtfParser::emitChar(char byte)
{
    if (infoDepth_ != 0) {
        if (infoField_ != nullptr && !infoFieldIsTime_)
            infoText_.push_back(char16_t(int16_t(static_cast<signed char>(byte))));
        return;
    }
    if (asideDepth_ != 0)
        aside_.push_back(char16_t(int16_t(static_cast<signed char>(byte))));
    else
        document_->appendChar(byte);
}

// Drops everything up to the end of the current group. Escaped braces are
// not braces, and binary data is passed over by its count.
void RtfParser::skipGroup(bool fonts)
{
    size_t depth = 1;
    int font = -1;
    while (cursor_ < end_ && depth > 0) {
        const uint8_t c = *cursor_++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            --depth;
        } else if (c == '\\' && cursor_ < end_) {
            if (!isLetter(*cursor_)) {
                ++cursor_;
                continue;
            }
            RtfToken& word = ahead_;
            readToken(word);
            if (word.id == kwBin) {
                skipBinary(word.param);
            } else if (fonts && word.id == kwF) {
                font = word.param;
            } else if (fonts && word.id == kwFcharset && font >= 0) {
                if (const unsigned codePage = charsetCodePage(word.param))
                    fontCodePages_[font] = codePage;
                else
                    fontCodePages_.erase(font);
            }
        }
    }
    closeGroup();
}

// Data said to run past the end of the file is not taken as data: what
// follows the word is read on as RTF.
void RtfParser::skipBinary(int count)
{
    if (count > 0 && size_t(count) <= size_t(end_ - cursor_))
        cursor_ += count;
}

// Called after the word pict, inside the picture's group.
namespace {

// One run of a picture's hexadecimal data, decoded into data as it is read;
// line breaks and spaces do not count. True when the run held anything: data
// then holds its bytes, or nothing when they were not whole hex pairs. A run
// ended by ";" is dropped and leaves data empty.
bool readHexRun(const uint8_t*& cursor, const uint8_t* end, std::vector<uint8_t>& data)
{
    bool valid = true, any = false;
    int high = -1;
    while (cursor < end) {
        const uint8_t h = *cursor;
        if (h == '\\' || h == ';' || h == '{' || h == '}')
            break;
        ++cursor;
        if (h == '\n' || h == '\r' || h == ' ')
            continue;
        any = true;
        const int digit = hexValue(h);
        if (digit < 0)
            valid = false;
        if (!valid)
            continue;
        if (high < 0) {
            high = digit;
        } else {
            data.push_back(uint8_t(high * 16 + digit));
            high = -1;
        }
    }
    if (cursor < end && *cursor == ';') {
        ++cursor;
        data.clear();
        return false;
    }
    if (any && (!valid || high >= 0))
        data.clear();
    return any;
}

}  // namespace

void RtfParser::readPicture()
{
    size_t depth = 1;
    int type = kwUnknown;
    bool haveData = false;
    bool cut = false;
    auto data = std::make_shared<std::vector<uint8_t>>();
    RtfToken word;

    while (cursor_ < end_ && depth >= 1) {
        const uint8_t c = *cursor_;
        if (c == '\n' || c == '\r' || c == ' ' || c == ';') {
            ++cursor_;
        } else if (c == '{') {
            ++depth;
            ++cursor_;
        } else if (c == '}') {
            --depth;
            ++cursor_;
        } else if (c == '\\') {
            ++cursor_;
            if (!readToken(word))
                break;
            if (word.isSymbol) {
                if (cursor_ < end_)
                    ++cursor_;
                while (cursor_ < end_ && *cursor_ == '\\')
                    ++cursor_;
            } else if (word.id == kwBin) {
                // Binary data may hold braces: take it by its count. A count
                // past the end of the file leaves the picture out, and the
                // bytes after the word are read on as RTF, so the group
                // still ends and the text after it stays.
                const size_t take = word.param > 0 ? size_t(word.param) : 0;
                if (take > size_t(end_ - cursor_)) {
                    cut = true;
                    continue;
                }
                if (depth == 1 && !haveData && take > 0) {
                    data->assign(cursor_, cursor_ + take);
                    haveData = true;
                }
                cursor_ += take;
            } else if (pictureKind(word.id) != RtfPicture::Other) {
                type = word.id;
            }
        } else if (depth != 1 || haveData) {
            ++cursor_;
        } else if (readHexRun(cursor_, end_, *data)) {
            haveData = true;
        }
    }

    const int kind = pictureKind(type);
    if (!cut && !data->empty() && kind != RtfPicture::Other) {
        auto picture = std::make_shared<RtfPicture>();
        picture->kind = kind;
        picture->size = uint32_t(data->size());
        picture->data = std::move(data);
        document_->addPicture(std::move(picture));
    }
    closeGroup();
}

void RtfParser::openGroup()
{
    if (!groups_.empty() && groups_.back().first == state_ && groups_.back().second < UINT32_MAX)
        ++groups_.back().second;
    else
        groups_.emplace_back(state_, 1);
    ++depth_;
}

// Restores the state saved by the matching "{"; nothing when none is open.
void RtfParser::closeGroup()
{
    if (depth_ == 0)
        return;
    state_ = groups_.back().first;
    state_.skipCount = 0;
    if (--groups_.back().second == 0)
        groups_.pop_back();
    --depth_;
    if (depth_ < asideDepth_)
        asideDepth_ = 0;
    if (depth_ < infoFieldDepth_)
        endInfoField();
    if (depth_ < infoDepth_)
        infoDepth_ = 0;
}

}  // namespace quillet
