#include "pdf/CVRX_PDFEngine.h"

namespace quillet {

// The PDF engine arrives with the PDF reader; until then an instance only
// records that its thread was initialised.
CVRX_PDFEngine::~CVRX_PDFEngine()
{
    teardown();
}

int CVRX_PDFEngine::initialise()
{
    codecModule_ = this;
    return 0;
}

void CVRX_PDFEngine::teardown()
{
    codecModule_ = nullptr;
    (void)reserved_;
}

}  // namespace quillet
