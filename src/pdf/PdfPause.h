#pragma once

// The pause objects a progressive page parse consults.

#include <cstdint>
#include <mutex>

namespace quillet {

class IZX_Pause {
public:
    virtual ~IZX_Pause() = default;
    virtual bool NeedToPauseNow() = 0;
};

// A budget of milliseconds on the monotonic clock, from construction.
class CZX_Pause : public IZX_Pause {
public:
    explicit CZX_Pause(int64_t budgetMilliseconds);
    bool NeedToPauseNow() override;

private:
    struct Budget {
        int mode;  // 0: milliseconds
        int64_t budget;
        int64_t start;
    };
    std::mutex mutex_;
    Budget budget_;
};

// The engine side's interface.
class IZXP_Pause {
public:
    virtual ~IZXP_Pause() = default;
    virtual bool NeedToPauseNow() = 0;
};

// Asks the inner pause when there is one, else its own timer.
class CPDFium_Pause : public IZXP_Pause, public CZX_Pause {
public:
    explicit CPDFium_Pause(int64_t budgetMilliseconds, IZX_Pause* inner = nullptr);
    bool NeedToPauseNow() override;

private:
    IZX_Pause* inner_;
};

}  // namespace quillet
