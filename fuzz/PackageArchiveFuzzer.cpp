// Bytes as a ZIP package: the archive index, every entry read through the
// tag scanner and a handler tree, the package relationships and the picture
// extraction, as the package readers use them.
#include "FuzzScratch.h"

#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/XmlPart.h"
#include "package/xml/ElementHandler.h"
#include "package/zip/ZipArchive.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace quillet;

class CountingHandler : public DefaultElementHandler {
public:
    explicit CountingHandler(size_t& count) : count_(count) {}
    void characters(const std::string& text) override { count_ += text.size(); }
    ElementHandler* getChildHandler(int) override { return adoptChild<CountingHandler>(count_); }

private:
    size_t& count_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready())
        return 0;
    const std::string path = scratch.write("input.zip", data, size);
    const std::string pictures = scratch.file("out");
    std::filesystem::create_directory(pictures);

    ZipArchive archive(path);
    size_t count = 0;
    int entries = 0;
    for (const auto& [name, record] : archive.index()) {
        if (++entries > 16)
            break;
        CountingHandler root(count);
        parseXmlPart(&archive, name, &root, static_cast<Vocabulary>(entries % 3));
    }
    try {
        OpcPackage package(&archive);
        if (PackagePart* main = package.mainDocumentPart()) {
            RelationshipList* relationships = main->relationships();
            for (int i = 0; i < relationships->count() && i < 8; ++i) {
                if (PackagePart* part = relationships->at(i)->getTargetPart())
                    count += static_cast<size_t>(part->size() > 0);
            }
        }
    } catch (const std::runtime_error&) {
        // Nameless tags in a relationship part.
    }
    archive.extractImages(pictures);
    std::error_code ignored;
    std::filesystem::remove_all(pictures, ignored);
    return 0;
}
