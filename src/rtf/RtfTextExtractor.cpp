#include "rtf/RtfTextExtractor.h"

#include "output/DocumentRecord.h"
#include "output/OutputFailure.h"
#include "output/OutputPaths.h"
#include "platform/StdioFile.h"
#include "rtf/RtfDocument.h"
#include "rtf/RtfParser.h"
#include "rtf/RtfPicture.h"

#include <quillet/quillet.h>

#include <cstdio>

namespace quillet {
namespace {

// The error number of a picture file that could not be created, else 0.
int writePicture(const std::string& folder, int64_t number, const RtfPicture& picture)
{
    if (!picture.data || picture.data->empty())
        return 0;
    StdioFile out(picturePath(folder, number, imageExtension(picture.kind)), "wb");
    if (!out.isOpen()) {
        std::fputs("open error!\n", stderr);
        return out.openError();
    }
    out.write(picture.data->data(), std::min<size_t>(picture.size, picture.data->size()));
    out.closeOutput();
    return 0;
}

}  // namespace

uint32_t RtfTextExtractor::exportText(const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    auto document = std::make_unique<RtfDocument>(source_);
    const bool extras = (flags & (WriteText | WriteExtras)) == (WriteText | WriteExtras);
    auto parser = std::make_unique<RtfParser>(extras, record != nullptr ? &record->metadata() : nullptr);
    if (!document->opened())
        return Unreadable;
    sink_ = std::make_unique<TextSink>(folder, TextSink::FileForm::Utf8Lines);
    sink_->setRecord(record);
    // One part: the headers and footers, written after the body, stay in it.
    sink_->beginPart("body", 1);
    OutputFailure output(sink_->error());
    if ((flags & WriteText) != 0)
        document->streamTextTo(sink_.get());
    parser->parse(*document);
    if ((flags & WriteText) != 0) {
        document->finishText();
        output.note(sink_->close());
    }
    if ((flags & WritePictures) != 0) {
        std::vector<std::shared_ptr<RtfPicture>> pictures;
        document->pictures(pictures);
        int64_t number = 1;
        for (const auto& picture : pictures)
            output.note(writePicture(folder, number++, *picture));
    }
    return output.result(Success);
}

}  // namespace quillet
