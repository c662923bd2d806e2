#include "legacy/powerpoint/PptSlideWriter.h"

#include "compound/CompoundStream.h"
#include "legacy/powerpoint/PptRecordReader.h"
#include "ooxml/drawing/EmbeddedDrawingEntry.h"
#include "output/TextSink.h"
#include "platform/StdioFile.h"

#include <cstdio>

namespace quillet {
namespace {

constexpr int kMetroBlobProperty = 0x03A9;

// The temporary package file: gone when this goes, however the read ends.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() { std::remove(path_.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// "1.zip" beside "1.txt".
std::string packagePathBeside(const std::string& textPath)
{
    std::string path = textPath;
    const size_t at = path.rfind("1.txt");
    if (at != std::string::npos)
        path.replace(at, 5, "1.zip");
    else
        path += ".zip";
    return path;
}

}  // namespace

void PptSlideWriter::appendPiece(const std::u16string& text)
{
    sink_.appendWide(text);
    sink_.appendWide(u"\t", 1);
}

void PptSlideWriter::writeComment(PptRecordReader& reader)
{
    std::u16string text;
    while (reader.next() && reader.type() == ppt_record::CString) {
        reader.enter();
        if (reader.instance() < 2) {
            reader.readText(text, reader.bytesLeft(), true);
            appendPiece(text);
        }
        reader.skipRest();
    }
}

// Only the first property of the table is looked at; its complex data
// follows the 6-byte property entry.
void PptSlideWriter::writeEmbeddedDrawing(PptRecordReader& reader)
{
    if ((reader.readU16() & 0x0FFF) != kMetroBlobProperty)
        return;
    const uint32_t length = reader.readU32();
    std::string package;
    reader.readBytes(package, length);
    if (!sink_.hasFile())
        return;
    const TemporaryFile temporary(packagePathBeside(sink_.filePath()));
    {
        StdioFile file(temporary.path(), "wb");
        if (!file.isOpen())
            return;
        file.write(package.data(), package.size());
        file.closeOutput();
    }
    package.clear();
    appendEmbeddedDrawingText(temporary.path(), sink_);
}

bool PptSlideWriter::write(int64_t offset, bool extras, int number)
{
    if (!stream_.seek(offset))
        return false;
    PptRecordReader reader(stream_, work_);
    if (!reader.next())
        return true;
    if (reader.type() != ppt_record::Slide && !(extras && reader.type() == ppt_record::Notes))
        return true;
    sink_.beginPart(reader.type() == ppt_record::Slide ? "slide" : "notes", number);
    reader.enter();
    std::u16string text;
    while (reader.next()) {
        const int type = reader.type();
        // Comments live in the tag data of a slide's programmable tags,
        // an atom whose body holds records.
        if (type == ppt_record::BinaryTagDataBlob && extras) {
            reader.enterAsContainer();
            continue;
        }
        reader.enter();
        switch (type) {
        case ppt_record::TextBytesAtom:
        case ppt_record::TextCharsAtom:
            reader.readText(text, reader.bytesLeft(), type == ppt_record::TextCharsAtom);
            appendPiece(text);
            break;
        case ppt_record::OutlineTextRefAtom:
            // The atom's own index is not read: the n-th reference takes the n-th text.
            if (outlineCounter_ < placeholders_.size())
                appendPiece(placeholders_[outlineCounter_]);
            ++outlineCounter_;
            break;
        case ppt_record::Comment10:
            if (extras)
                writeComment(reader);
            break;
        case ppt_record::TertiaryFopt:
            writeEmbeddedDrawing(reader);
            break;
        default:
            break;
        }
        reader.skipRest();
    }
    return true;
}

}  // namespace quillet
