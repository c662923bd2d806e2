#pragma once

#include "pdf/PdfPage.h"

#include <cstdint>
#include <string>

struct fz_context;

namespace quillet {

// Pictures (and their masks) of more pixels than this are not decoded: at
// four bytes a pixel the largest decode stays near 128 MiB.
constexpr int64_t kMaxPicturePixels = int64_t(1) << 25;

// The picture as a baseline JPEG (quality 90, 4:2:0), transparency laid over
// white; empty when it cannot be decoded, is too large, or encoding failed.
std::string encodePictureAsJpeg(fz_context* ctx, void* jpegEncoder, const PdfPageObject& object);

}  // namespace quillet
