#include "rtf/RtfTextExtractor.h"

#include "output/OutputPaths.h"
#include "platform/StdioFile.h"
#include "rtf/RtfDocument.h"
#include "rtf/RtfParser.h"
#include "rtf/RtfPicture.h"

#include <quillet/quillet.h>

#include <iostream>

namespace quillet {
namespace {

void writePicture(const std::string& folder, int64_t number, const RtfPicture& picture)
{
    if (!picture.data || picture.data->empty())
        return;
    StdioFile out(picturePath(folder, number, imageExtension(picture.kind)), "wb");
    if (!out.isOpen()) {
        std::cerr << "open error!" << std::endl;
        return;
    }
    out.write(picture.data->data(), std::min<size_t>(picture.size, picture.data->size()));
    out.closeOutput();
}

}  // namespace

uint32_t RtfTextExtractor::exportText(const std::string& folder, uint32_t flags)
{
    auto document = std::make_unique<RtfDocument>(source_);
    auto parser = std::make_unique<RtfParser>();
    if (!document->opened())
        return Unreadable;
    sink_ = std::make_unique<TextSink>(folder);
    if ((flags & WriteText) != 0)
        document->streamTextTo(sink_.get());
    parser->parse(*document);
    if ((flags & WriteText) != 0) {
        document->finishText();
        sink_->close();
    }
    if ((flags & WritePictures) != 0) {
        std::vector<std::shared_ptr<RtfPicture>> pictures;
        document->pictures(pictures);
        int64_t number = 1;
        for (const auto& picture : pictures)
            writePicture(folder, number++, *picture);
    }
    return Success;
}

}  // namespace quillet
