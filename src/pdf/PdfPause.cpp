#include "pdf/PdfPause.h"

#include "platform/MonotonicClock.h"

namespace quillet {

CZX_Pause::CZX_Pause(int64_t budgetMilliseconds) : budget_{0, budgetMilliseconds, platform::monotonicMilliseconds()} {}

bool CZX_Pause::NeedToPauseNow()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return platform::monotonicMilliseconds() - budget_.start >= budget_.budget;
}

CPDFium_Pause::CPDFium_Pause(int64_t budgetMilliseconds, IZX_Pause* inner)
    : CZX_Pause(budgetMilliseconds), inner_(inner)
{
}

bool CPDFium_Pause::NeedToPauseNow()
{
    return inner_ != nullptr ? inner_->NeedToPauseNow() : CZX_Pause::NeedToPauseNow();
}

}  // namespace quillet
