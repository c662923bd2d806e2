#include "pdf/PdfTextPage.h"

#include "platform/Utf8.h"

#include <QChar>

#include <mupdf/fitz.h>

#include <algorithm>

namespace quillet {
namespace {

fz_stext_page* analyse(fz_context* ctx, fz_display_list* list)
{
    fz_stext_page* page = nullptr;
    fz_var(page);
    fz_try(ctx)
    {
        fz_stext_options options{};  // flags 0: ligatures expanded, nothing clipped
        page = fz_new_stext_page_from_display_list(ctx, list, &options);
    }
    fz_catch(ctx)
    {
        page = nullptr;
    }
    return page;
}

void appendCodePoint(std::u16string& out, int c)
{
    // A negative value becomes one above U+10FFFF, so U+FFFD.
    appendUtf16(static_cast<char32_t>(c), out);
}

bool isHyphen(int c)
{
    return c == '-' || c == 0xAD || c == 0x2010;
}

bool isLowerCase(int c)
{
    return c >= 0 && c <= 0xFFFF && QChar(char16_t(c)).isLower();
}

struct StextPage {
    fz_context* ctx;
    fz_stext_page* page;
    ~StextPage() { fz_drop_stext_page(ctx, page); }
};

}  // namespace

PdfTextPage::PdfTextPage(PdfPage& page) : page_(&page) {}

PdfTextPage::~PdfTextPage() = default;

bool PdfTextPage::build(fz_context* ctx, fz_display_list* list)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (engineText_)
        return true;
    const StextPage analysed{ctx, analyse(ctx, list)};
    if (analysed.page == nullptr)
        return false;
    auto text = std::make_unique<std::u16string>();
    for (fz_stext_block* block = analysed.page->first_block; block != nullptr; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        const fz_stext_char* previousLast = nullptr;
        for (fz_stext_line* line = block->u.t.first_line; line != nullptr; line = line->next) {
            // A word broken by a hyphen at the end of a line is joined again.
            if (previousLast != nullptr && line->first_char != nullptr && isHyphen(previousLast->c) &&
                isLowerCase(line->first_char->c) && text->size() >= 2)
                text->resize(text->size() - 2);
            const fz_stext_char* last = nullptr;
            for (fz_stext_char* ch = line->first_char; ch != nullptr; ch = ch->next) {
                appendCodePoint(*text, ch->c);
                last = ch;
            }
            text->push_back(u'\n');
            previousLast = last;
        }
    }
    engineText_ = std::move(text);
    return true;
}

bool PdfTextPage::isBuilt()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return engineText_ != nullptr;
}

void PdfTextPage::releaseEngineText()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    engineText_.reset();
}

int PdfTextPage::charCount()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return engineText_ ? int(std::min<size_t>(engineText_->size(), INT32_MAX)) : 0;
}

std::u16string PdfTextPage::text(int start, int count)
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!engineText_ || start < 0 || count <= 0 || size_t(start) >= engineText_->size())
        return {};
    return engineText_->substr(size_t(start), size_t(count));
}

}  // namespace quillet
