#pragma once

// The entries through which the dispatcher reaches the PDF drivers. The
// shared library loads them from a plugin on the first PDF it meets, so a
// process that converts no PDF never maps the engine; the internal archive
// links them in.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

class DocumentRecord;
class PdfEngine;

// A table rather than symbols: the plugin exports one function, and nothing
// of either side's internals crosses. No entry throws.
struct PdfFamily {
    // The build the table comes from; a plugin of another build is not used.
    const char* build;
    // Made and initialised; null, with the failing stage's code (-1..-3) in
    // *result, when it could not be.
    PdfEngine* (*createEngine)(int* result);
    void (*destroyEngine)(PdfEngine* engine);
    // `engine` is the calling thread's engine, or null when the thread never
    // initialised one; a temporary engine then serves the call. A failure to
    // write output ends in its error number, anything else that goes wrong
    // in ConversionFailed.
    // With a record, the document's properties and pages go into it too.
    uint32_t (*exportDocument)(const std::string& source, const std::string& folder, uint32_t flags,
                               int timeLimitSeconds, PdfEngine* engine, DocumentRecord* record);
    // When the reading fails unexpectedly, `text` is left as it was.
    void (*documentContent)(const std::string& path, QString& text, int timeLimitSeconds, PdfEngine* engine);
};

// The drivers' table, as linked into this binary.
const PdfFamily& linkedPdfFamily();

}  // namespace quillet

// What the plugin exports.
extern "C" __attribute__((visibility("default"))) const quillet::PdfFamily* quilletPdfFamily();
