#include "pdf/PdfEntry.h"

#include "pdf/PdfEngine.h"
#include "pdf/PdfTextExtractor.h"
#include "platform/WriteError.h"

#include <quillet/quillet.h>

#include <memory>
#include <new>

namespace quillet {
namespace {

PdfEngine* createEngine(int* result)
{
    std::unique_ptr<PdfEngine> engine(new (std::nothrow) PdfEngine());
    if (!engine) {
        *result = -3;
        return nullptr;
    }
    try {
        *result = engine->initialise();
    } catch (...) {
        *result = -3;
    }
    return *result == 0 ? engine.release() : nullptr;
}

void destroyEngine(PdfEngine* engine)
{
    delete engine;
}

// Exceptions stop here: the caller may be another module, whose copies of
// these types would not catch them.
uint32_t exportDocument(const std::string& source, const std::string& folder, uint32_t flags, int timeLimitSeconds,
                        PdfEngine* engine, DocumentRecord* record)
{
    try {
        PdfTextExtractor extractor(source, engine);
        return extractor.extract(folder, flags, timeLimitSeconds, record);
    } catch (const WriteError& failure) {
        return static_cast<uint32_t>(failure.error());
    } catch (...) {
        return ConversionFailed;
    }
}

void documentContent(const std::string& path, QString& text, int timeLimitSeconds, PdfEngine* engine)
{
    try {
        QString result = text;
        PdfTextExtractor extractor(path, engine);
        extractor.getContent(result, timeLimitSeconds);
        text.swap(result);
    } catch (...) {
    }
}

constexpr PdfFamily kFamily = {QUILLET_BUILD_STAMP, createEngine, destroyEngine, exportDocument, documentContent};

}  // namespace

const PdfFamily& linkedPdfFamily()
{
    return kFamily;
}

}  // namespace quillet

const quillet::PdfFamily* quilletPdfFamily()
{
    return &quillet::linkedPdfFamily();
}
