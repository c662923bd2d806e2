// How the library names a ZIP source: by the main part it holds.
#include "api/ReaderEntries.h"
#include "package/ZipArchive.h"

#include <quillet/quillet.h>

namespace quillet {

const char* packageFormatName(const std::string& path)
{
    const ZipArchive archive(path);
    // A package with several main parts takes the first name in this order.
    if (archive.hasEntry("xl/workbook.xml"))
        return format::Xlsx;
    if (archive.hasEntry("word/document.xml"))
        return format::Docx;
    if (archive.hasEntry("ppt/presentation.xml"))
        return format::Pptx;
    return nullptr;
}

}  // namespace quillet
