// Bytes as a compound file: the open, reads of the streams the Word reader uses, then its export and
// in-memory entries on the same file, and the Word 6.0/95 reader on whatever block the file holds.
#include "FuzzScratch.h"

#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "legacy/word/Word6BinaryReader.h"
#include "legacy/word/WordBinaryReader.h"

#include <quillet/quillet.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready())
        return 0;
    const std::string source = scratch.write("input.doc", data, size);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    try {
        quillet::CompoundFile file(source);
        if (file.error() != 0)
            return 0;
        for (const char* name : {"WordDocument", "1Table", "0Table", "Data", "Root Entry"}) {
            // Read to the end in odd-sized parts, then one byte from a third of the way in.
            const auto stream = file.openStream(name);
            for (uint8_t buffer[777]; stream && stream->remaining() > 0;)
                stream->readBytes(buffer, size_t(std::min<int64_t>(stream->remaining(), sizeof buffer)));
            if (stream && stream->size() > 3 && stream->seek(stream->size() / 3))
                stream->readU8();
        }
        quillet::exportWordDocument(file, out, quillet::WriteText | quillet::WritePictures);
        QString text;
        quillet::extractWordDocumentText(file, text);
        quillet::exportWord6Document(file, out, quillet::WriteText);
    } catch (const quillet::CompoundFileError&) {
        // a defined end: 4098 at the library boundary
    }
    return 0;
}
