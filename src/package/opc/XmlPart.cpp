#include "package/opc/XmlPart.h"

#include "package/xml/NameHandlerDriver.h"
#include "package/xml/TokenHandlerDriver.h"
#include "package/xml/XmlTagScanner.h"
#include "package/zip/ZipArchive.h"

namespace quillet {
namespace {

// An entry the archive does not hold gives no calls at all.
void scanEntry(XmlTagScanner& scanner, ZipArchive& archive, const std::string& entryName)
{
    std::unique_ptr<ZipEntryStream> stream = archive.openEntry(entryName);
    if (!stream)
        return;
    scanner.scan(*stream);
    stream->close();
}

}  // namespace

void parseXmlPart(ZipArchive* archive, const std::string& entryName, ElementHandler* root, Vocabulary vocabulary)
{
    if (archive == nullptr || root == nullptr)
        return;
    TokenHandlerDriver builder(root, vocabulary);
    XmlTagScanner scanner(builder);
    scanEntry(scanner, *archive, entryName);
}

void parseXmlPartByName(ZipArchive* archive, const std::string& entryName, ElementStrHandler* root)
{
    if (archive == nullptr || root == nullptr)
        return;
    NameHandlerDriver builder(root);
    XmlTagScanner scanner(builder);
    scanEntry(scanner, *archive, entryName);
}

}  // namespace quillet
