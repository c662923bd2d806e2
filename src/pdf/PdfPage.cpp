#include "pdf/PdfPage.h"

#include "pdf/PdfDocument.h"
#include "pdf/PdfEngine.h"
#include "pdf/PdfImageCollector.h"
#include "pdf/PdfJpegWriter.h"
#include "pdf/PdfTextPage.h"
#include "pdf/PdfWatchdog.h"
#include "platform/StdioFile.h"

#include <QString>

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace quillet {
namespace {

pdf_obj* lookupPageDictionary(fz_context* ctx, pdf_document* doc, int index)
{
    pdf_obj* dictionary = nullptr;
    fz_var(dictionary);
    fz_try(ctx)
    {
        dictionary = pdf_keep_obj(ctx, pdf_lookup_page_obj(ctx, doc, index));
    }
    fz_catch(ctx)
    {
        dictionary = nullptr;
    }
    return dictionary;
}

fz_page* loadEnginePage(fz_context* ctx, pdf_document* doc, int index)
{
    fz_page* page = nullptr;
    fz_var(page);
    fz_try(ctx)
    {
        page = fz_load_page(ctx, &doc->super, index);
    }
    fz_catch(ctx)
    {
        page = nullptr;
    }
    return page;
}

// The whole content stream into a display list. Damage the engine can step
// over (a bad operator, a missing font) still gives a list; so does a run the
// cookie aborted, cut short.
fz_display_list* runToDisplayList(fz_context* ctx, fz_page* page, fz_cookie* cookie)
{
    fz_display_list* list = nullptr;
    fz_device* device = nullptr;
    fz_var(list);
    fz_var(device);
    fz_try(ctx)
    {
        list = fz_new_display_list(ctx, fz_bound_page(ctx, page));
        device = fz_new_list_device(ctx, list);
        fz_run_page(ctx, page, device, fz_identity, cookie);
        fz_close_device(ctx, device);
    }
    fz_always(ctx)
    {
        fz_drop_device(ctx, device);
    }
    fz_catch(ctx)
    {
        fz_drop_display_list(ctx, list);
        list = nullptr;
    }
    return list;
}

}  // namespace

PdfPage::PdfPage(PdfDocument& document) : document_(document) {}

PdfPage::~PdfPage()
{
    textPage_.reset();
    dropObjects();
    dropParseProducts();
    fz_drop_page(context(), holder_.page);
    pdf_drop_obj(context(), holder_.dictionary);
}

fz_context* PdfPage::context() const
{
    return document_.context();
}

bool PdfPage::bind(int index)
{
    index_ = index;
    holder_.dictionary = lookupPageDictionary(context(), document_.engineDocument(), index);
    return holder_.dictionary != nullptr;
}

int PdfPage::status()
{
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    return holder_.status;
}

int PdfPage::startParse()
{
    if (!hasContent())
        return Failed;
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (holder_.status == NotStarted) {
        holder_.page = loadEnginePage(context(), document_.engineDocument(), index_);
        if (holder_.page == nullptr) {
            holder_.status = Failed;
            return Failed;
        }
        ++holder_.starts;
        ++holder_.parses;
        holder_.status = ToBeContinued;
        return holder_.status;
    }
    ++holder_.starts;
    ++holder_.parses;
    return holder_.status;
}

int PdfPage::continueParse(PdfWatchdog* watchdog)
{
    if (!hasContent())
        return Failed;
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (holder_.status != ToBeContinued)
        return holder_.status;
    // MuPDF cannot suspend a content stream and resume it later: its only
    // interruption (the cookie's abort) ends the run. So the first call runs
    // the whole page, and an aborted run is dropped, not kept half done.
    fz_cookie cookie{};
    {
        PdfWatchdog::Guard guard(watchdog, cookie.abort);
        holder_.list = runToDisplayList(context(), holder_.page, &cookie);
    }
    if (cookie.abort != 0) {
        dropParseProducts();
        holder_.status = Stopped;
    } else {
        holder_.status = holder_.list != nullptr ? Done : Failed;
    }
    return holder_.status;
}

PdfTextPage* PdfPage::textPage()
{
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (holder_.status != Done)
        return nullptr;
    if (!textPage_)
        textPage_ = std::make_unique<PdfTextPage>(*this);
    if (!textPage_->isBuilt())
        textPage_->build(context(), holder_.list);
    return textPage_.get();
}

bool PdfPage::collectObjects()
{
    if (holder_.page == nullptr)
        return false;
    if (!objectsCollected_) {
        collectPagePictures(context(), holder_.list, holder_.page, objects_);
        objectsCollected_ = true;
    }
    return true;
}

bool PdfPage::imageCount(int& count)
{
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (!collectObjects())
        return false;
    count = int(std::min<size_t>(objects_.size(), INT32_MAX));
    return true;
}

bool PdfPage::image(int index, const PdfPageObject*& object)
{
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (index < 0 || !collectObjects())
        return false;
    if (index == 0 || size_t(index) > objects_.size())
        return false;
    object = &objects_[objects_.size() - size_t(index)];
    return true;
}

int PdfPage::saveImage(const PdfPageObject* object, const std::wstring& path)
{
    PdfEngine& engine = document_.engine();
    if (object == nullptr || object->type != PdfPageObject::kImage || engine.jpegEncoder() == nullptr)
        return 0;
    const std::string bytes = document_.pictureAsJpeg(*object);
    if (bytes.empty())
        return 0;
    const QByteArray local = QString::fromStdWString(path).toLocal8Bit();
    StdioFile file(std::string(local.constData(), size_t(local.size())), "wb");
    if (file.isOpen()) {
        file.write(bytes.data(), bytes.size());
        file.closeOutput();
    }
    return file.openError();
}

void PdfPage::dropParseProducts()
{
    fz_drop_display_list(context(), holder_.list);
    holder_.list = nullptr;
}

void PdfPage::dropObjects()
{
    dropPagePictures(context(), objects_);
    objectsCollected_ = false;
}

int PdfPage::releasePage()
{
    if (!hasContent())
        return Failed;
    std::lock_guard<std::recursive_mutex> lock(holder_.mutex);
    if (holder_.starts == 1 && textPage_)
        textPage_->releaseEngineText();
    std::lock_guard<std::mutex> release(releaseMutex_);
    if (holder_.parses > 0 && --holder_.parses == 0) {
        dropObjects();
        dropParseProducts();
    }
    if (holder_.starts > 0 && --holder_.starts == 0) {
        fz_drop_page(context(), holder_.page);
        holder_.page = nullptr;
        holder_.status = NotStarted;
    }
    return holder_.status;
}

}  // namespace quillet
