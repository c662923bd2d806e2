#include "pdf/PdfImageCollector.h"

#include <mupdf/fitz.h>

namespace quillet {
namespace {

struct CollectorDevice {
    fz_device super;
    std::vector<PdfPageObject>* objects;
};

// Called from the engine: must neither throw nor leave C++ objects behind a
// longjmp.
void keep(fz_context* ctx, CollectorDevice* device, fz_image* image, bool stencil, const float* rgb)
{
    PdfPageObject object;
    object.image = fz_keep_image(ctx, image);
    object.stencil = stencil;
    if (rgb != nullptr)
        for (int i = 0; i < 3; ++i)
            object.rgb[i] = rgb[i];
    try {
        device->objects->push_back(object);
    } catch (...) {
        fz_drop_image(ctx, object.image);
    }
}

void fillImage(fz_context* ctx, fz_device* dev, fz_image* image, fz_matrix, float, fz_color_params)
{
    keep(ctx, reinterpret_cast<CollectorDevice*>(dev), image, false, nullptr);
}

void fillImageMask(fz_context* ctx, fz_device* dev, fz_image* image, fz_matrix, fz_colorspace* space,
                   const float* color, float, fz_color_params params)
{
    float rgb[3] = {0, 0, 0};
    fz_try(ctx)
    {
        if (space != nullptr && color != nullptr)
            fz_convert_color(ctx, space, color, fz_device_rgb(ctx), rgb, nullptr, params);
    }
    fz_catch(ctx)
    {
        rgb[0] = rgb[1] = rgb[2] = 0;
    }
    keep(ctx, reinterpret_cast<CollectorDevice*>(dev), image, true, rgb);
}

}  // namespace

bool collectPagePictures(fz_context* ctx, fz_display_list* list, fz_page* page, std::vector<PdfPageObject>& objects)
{
    fz_device* device = nullptr;
    bool ok = true;
    fz_var(device);
    fz_var(ok);
    fz_try(ctx)
    {
        CollectorDevice* collector = fz_new_derived_device(ctx, CollectorDevice);
        collector->super.fill_image = fillImage;
        collector->super.fill_image_mask = fillImageMask;
        collector->objects = &objects;
        device = &collector->super;
        if (list != nullptr)
            fz_run_display_list(ctx, list, device, fz_identity, fz_infinite_rect, nullptr);
        else
            fz_run_page(ctx, page, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
    }
    fz_always(ctx)
    {
        fz_drop_device(ctx, device);
    }
    fz_catch(ctx)
    {
        ok = false;
    }
    return ok;
}

void dropPagePictures(fz_context* ctx, std::vector<PdfPageObject>& objects)
{
    for (PdfPageObject& object : objects)
        fz_drop_image(ctx, object.image);
    objects.clear();
}

}  // namespace quillet
