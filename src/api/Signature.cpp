#include "api/Signature.h"

#include "compound/CompoundHeader.h"

#include "platform/StdioFile.h"

#include <cstring>

namespace quillet {

bool isCompoundFile(const unsigned char* head)
{
    return std::memcmp(head, CompoundHeader::kSignature, sizeof CompoundHeader::kSignature) == 0;
}

bool isZip(const unsigned char* head)
{
    return head[0] == 'P' && head[1] == 'K' && head[2] == 0x03 && head[3] == 0x04;
}

bool isPdf(const unsigned char* head)
{
    return std::memcmp(head, "%PDF", 4) == 0;
}

bool isRtf(const unsigned char* head)
{
    return head[0] != 0 && std::memcmp(head + 1, "\\rtf", 4) == 0;
}

SourceFormat detectFormat(const unsigned char* head)
{
    if (isCompoundFile(head))
        return SourceFormat::Compound;
    if (isZip(head))
        return SourceFormat::Zip;
    if (isPdf(head))
        return SourceFormat::Pdf;
    if (isRtf(head))
        return SourceFormat::Rtf;
    return SourceFormat::Unknown;
}

SourceFormat readSignature(StdioFile& file)
{
    unsigned char head[kSignatureSize] = {};
    file.seek(0);
    file.read(head, sizeof head);
    return detectFormat(head);
}

}  // namespace quillet
