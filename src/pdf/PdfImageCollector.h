#pragma once

#include "pdf/PdfPage.h"

#include <vector>

struct fz_context;
struct fz_display_list;
struct fz_page;

namespace quillet {

// Replays a parsed page (or runs a loaded one) through a device that keeps
// every picture in drawing order: images, and stencil masks with their
// colour. Forms are flattened by the engine. False when the run failed; the
// pictures met before the failure are kept.
bool collectPagePictures(fz_context* ctx, fz_display_list* list, fz_page* page, std::vector<PdfPageObject>& objects);

void dropPagePictures(fz_context* ctx, std::vector<PdfPageObject>& objects);

}  // namespace quillet
