#pragma once

namespace quillet {

struct PdfFamily;

// The PDF drivers, or null when they cannot be had (the plugin missing or
// of another build). Found once per process and kept.
const PdfFamily* loadPdfFamily();

}  // namespace quillet
