#include "package/XmlPart.h"

#include "package/HLHandlerBuilder.h"
#include "package/HLStrHandlerBuilder.h"
#include "package/XmlTagScanner.h"
#include "package/ZipArchive.h"

namespace quillet {

void parseXmlPart(ZipArchive* archive, const std::string& entryName, ElementHandler* root, Vocabulary vocabulary)
{
    if (archive == nullptr || root == nullptr)
        return;
    HLHandlerBuilder builder(root, vocabulary);
    XmlTagScanner scanner(builder);
    scanner.scan(*archive, entryName);
}

void parseXmlPartByName(ZipArchive* archive, const std::string& entryName, ElementStrHandler* root)
{
    if (archive == nullptr || root == nullptr)
        return;
    HLStrHandlerBuilder builder(root);
    XmlTagScanner scanner(builder);
    scanner.scan(*archive, entryName);
}

}  // namespace quillet
