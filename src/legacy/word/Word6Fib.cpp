#include "legacy/word/Word6Fib.h"

#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"

namespace quillet {
namespace {

constexpr uint16_t kComplexFlag = 0x0004;
constexpr uint16_t kEncryptedFlag = 0x0100;
constexpr uint16_t kExtendedCharactersFlag = 0x1000;
constexpr uint16_t kMacintoshCharacterSet = 256;
constexpr uint16_t kWord6Version = 101;
constexpr uint16_t kFirstWord97Version = 0x00C1;
constexpr int64_t kWord97CountsEnd = 64;

}  // namespace

void Word6Fib::read(CompoundStream& stream)
{
    version = stream.readU16At(2);
    language = stream.readU16At(6);
    const uint16_t flags = stream.readU16At(10);
    complex = (flags & kComplexFlag) != 0;
    encrypted = (flags & kEncryptedFlag) != 0;
    extendedCharacters = (flags & kExtendedCharactersFlag) != 0;
    if (encrypted)
        return;
    characterSet = stream.readU16At(0x14);
    textStart = stream.readU32At(0x18);
    textEnd = stream.readU32At(0x1C);
    pieceTableOffset = stream.readU32At(0x160);
    pieceTableSize = stream.readU32At(0x164);
}

unsigned Word6Fib::codePage() const
{
    return characterSet == kMacintoshCharacterSet ? 10000 : codePageOfLanguage(language);
}

bool isWord6Layout(CompoundStream& stream)
{
    if (stream.size() < kWord97CountsEnd)
        return false;
    // A zero-filled stand-in stream (as in some encrypted packages) is no document.
    const uint16_t version = stream.readU16At(2);
    if (version < kWord6Version || version >= kFirstWord97Version)
        return false;
    // Word 97's empty-document template has a lower version number too; its
    // block is told apart by the counts that only the newer layout has.
    return stream.readU16At(32) != 14 || stream.readU16At(62) != 22;
}

unsigned codePageOfLanguage(uint16_t languageId)
{
    switch (languageId) {
    case 0x0404:
    case 0x0C04:
    case 0x1404:
        return 950;  // Chinese, traditional script
    case 0x0804:
    case 0x1004:
        return 936;  // Chinese, simplified script
    case 0x041A:
    case 0x081A:
    case 0x101A:
    case 0x141A:
        return 1250;  // Croatian, Serbian and Bosnian in Latin
    case 0x042C:
    case 0x0443:
        return 1254;  // Azeri and Uzbek in Latin
    default:
        break;
    }
    switch (languageId & 0x03FF) {
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1B:
    case 0x1C:
    case 0x24:
        return 1250;  // Czech, Hungarian, Polish, Romanian, Slovak, Albanian, Slovenian
    case 0x02:
    case 0x19:
    case 0x1A:
    case 0x22:
    case 0x23:
    case 0x2C:
    case 0x2F:
    case 0x3F:
    case 0x40:
    case 0x43:
    case 0x44:
    case 0x50:
        return 1251;  // Bulgarian, Russian, Serbian, Ukrainian, Belarusian, Azeri, Macedonian, Kazakh, Kyrgyz,
                      // Uzbek, Tatar, Mongolian
    case 0x08:
        return 1253;  // Greek
    case 0x1F:
        return 1254;  // Turkish
    case 0x0D:
        return 1255;  // Hebrew
    case 0x01:
    case 0x20:
    case 0x29:
        return 1256;  // Arabic, Urdu, Farsi
    case 0x25:
    case 0x26:
    case 0x27:
        return 1257;  // Estonian, Latvian, Lithuanian
    case 0x2A:
        return 1258;  // Vietnamese
    case 0x1E:
        return 874;  // Thai
    case 0x11:
        return 932;  // Japanese
    case 0x12:
        return 949;  // Korean
    default:
        return 1252;
    }
}

}  // namespace quillet
