#pragma once

#include "output/DocumentMetadata.h"

#include <string>

struct fz_context;
struct pdf_document;

namespace quillet {

// A PDF date, "D:YYYYMMDDHHmmSSOHH'mm'" (every part after the year optional,
// O one of "Z", "+", "-"), as ISO 8601 UTC; "" for anything else.
std::string pdfDateAsIso(const std::string& text);

// The Info dictionary's title, author, subject, keywords, application (its
// Creator), producer and dates, with the page count, the PDF version and
// whether the file is encrypted. What the engine cannot read is left out.
DocumentMetadata readPdfProperties(fz_context* ctx, pdf_document* document, int pageCount);

}  // namespace quillet
