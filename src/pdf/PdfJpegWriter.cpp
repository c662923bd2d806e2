#include "pdf/PdfJpegWriter.h"

#include <mupdf/fitz.h>
#include <turbojpeg.h>

#include <climits>
#include <vector>

namespace quillet {
namespace {

bool withinCap(const fz_image* image)
{
    return image != nullptr && image->w > 0 && image->h > 0 && int64_t(image->w) * image->h <= kMaxPicturePixels;
}

struct Pixmaps {
    fz_pixmap* colour = nullptr;  // RGB, or the stencil's single channel
    fz_pixmap* mask = nullptr;    // soft mask, any size
};

// Decodes in the engine; only plain values live in here.
bool decode(fz_context* ctx, const PdfPageObject& object, Pixmaps* out)
{
    fz_pixmap* raw = nullptr;
    fz_pixmap* colour = nullptr;
    fz_pixmap* mask = nullptr;
    bool ok = true;
    fz_var(raw);
    fz_var(colour);
    fz_var(mask);
    fz_var(ok);
    fz_try(ctx)
    {
        fz_image* image = object.image;
        raw = fz_get_unscaled_pixmap_from_image(ctx, image);
        if (object.stencil || raw->colorspace == nullptr) {
            colour = raw;
            raw = nullptr;
        } else {
            if (fz_colorspace_is_indexed(ctx, raw->colorspace)) {
                fz_pixmap* base = fz_convert_indexed_pixmap_to_base(ctx, raw);
                fz_drop_pixmap(ctx, raw);
                raw = base;
            }
            colour = fz_convert_pixmap(ctx, raw, fz_device_rgb(ctx), nullptr, nullptr, fz_default_color_params, 1);
            if (withinCap(image->mask))
                mask = fz_get_unscaled_pixmap_from_image(ctx, image->mask);
        }
    }
    fz_always(ctx)
    {
        fz_drop_pixmap(ctx, raw);
    }
    fz_catch(ctx)
    {
        fz_drop_pixmap(ctx, colour);
        fz_drop_pixmap(ctx, mask);
        ok = false;
    }
    if (ok) {
        out->colour = colour;
        out->mask = mask;
    }
    return ok;
}

uint8_t over(int value, int coverage, int background)
{
    return uint8_t((value * coverage + background * (255 - coverage) + 127) / 255);
}

// Lays the picture over white into packed RGB.
std::vector<uint8_t> flatten(const PdfPageObject& object, const fz_pixmap* colour, const fz_pixmap* mask)
{
    const int w = colour->w, h = colour->h, n = colour->n;
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = colour->samples + ptrdiff_t(y) * colour->stride;
        const uint8_t* maskRow = nullptr;
        if (mask != nullptr)
            maskRow = mask->samples + ptrdiff_t(int64_t(y) * mask->h / h) * mask->stride;
        for (int x = 0; x < w; ++x) {
            uint8_t* pixel = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
            const uint8_t* sample = row + ptrdiff_t(x) * n;
            if (object.stencil || colour->colorspace == nullptr) {
                // The stencil is set where the picture paints.
                const int coverage = sample[n - 1];
                for (int c = 0; c < 3; ++c)
                    pixel[c] = over(int(object.rgb[c] * 255.0f + 0.5f), coverage, 255);
                continue;
            }
            // Premultiplied when there is alpha: laying over white adds 255 - alpha.
            const int alpha = colour->alpha ? sample[n - 1] : 255;
            int coverage = 255;
            if (maskRow != nullptr)
                coverage = maskRow[ptrdiff_t(int64_t(x) * mask->w / w) * mask->n];
            for (int c = 0; c < 3; ++c) {
                const int straight = std::min(255, sample[c] + 255 - alpha);
                pixel[c] = over(straight, coverage, 255);
            }
        }
    }
    return rgb;
}

std::string compress(void* encoder, const uint8_t* rgb, int w, int pitch, int h)
{
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::string bytes;
    if (tjCompress2(encoder, rgb, w, pitch, h, TJPF_RGB, &jpeg, &size, TJSAMP_420, 90, 0) == 0 && jpeg != nullptr)
        bytes.assign(reinterpret_cast<const char*>(jpeg), size);
    tjFree(jpeg);
    return bytes;
}

}  // namespace

std::string encodePictureAsJpeg(fz_context* ctx, void* jpegEncoder, const PdfPageObject& object)
{
    // JPEG sides end at 65535.
    if (ctx == nullptr || jpegEncoder == nullptr || object.type != PdfPageObject::kImage || !withinCap(object.image) ||
        object.image->w > 65535 || object.image->h > 65535)
        return {};
    Pixmaps pixmaps;
    if (!decode(ctx, object, &pixmaps))
        return {};
    std::string bytes;
    try {
        const fz_pixmap* colour = pixmaps.colour;
        const fz_pixmap* mask = pixmaps.mask;
        if (mask != nullptr && (mask->w <= 0 || mask->h <= 0 || mask->n < 1))
            mask = nullptr;
        const bool opaqueRgb = !object.stencil && colour->colorspace != nullptr && colour->n == 3 && !colour->alpha &&
                               mask == nullptr && colour->stride <= INT_MAX;
        if (colour->w > 0 && colour->h > 0 && opaqueRgb) {
            // Over white, opaque RGB stays as it is: the samples go to the encoder as they lie.
            bytes = compress(jpegEncoder, colour->samples, colour->w, int(colour->stride), colour->h);
        } else if (colour->w > 0 && colour->h > 0 && colour->n >= 1 &&
                   (object.stencil || colour->colorspace == nullptr || colour->n >= 3)) {
            const std::vector<uint8_t> rgb = flatten(object, colour, mask);
            bytes = compress(jpegEncoder, rgb.data(), colour->w, 0, colour->h);
        }
    } catch (...) {
        bytes.clear();
    }
    fz_drop_pixmap(ctx, pixmaps.colour);
    fz_drop_pixmap(ctx, pixmaps.mask);
    return bytes;
}

}  // namespace quillet
