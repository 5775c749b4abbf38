#include "graphics/frame_timer.h"

#include "platform/clock.h"
#include "platform/host.h"

namespace veskar {

void FrameTimer::FrameTimerStart() { base_ = clock_.tickCount(); }

std::uint32_t FrameTimer::FrameTimerWait(std::uint32_t period) {
    host_.processMessages();
    if (period == 0) return 1;
    const std::uint32_t elapsed = clock_.tickCount() - base_;
    if (elapsed < period) {
        clock_.sleep(period - elapsed);
        base_ += period;
        return 1;
    }
    const std::uint32_t k = elapsed / period + 1;
    clock_.sleep(k * period - elapsed);
    base_ += k * period;
    return k;
}

void FrameTimer::WaitUntilTick(std::uint32_t deadline) {
    const auto remaining = static_cast<std::int32_t>(deadline - clock_.tickCount());
    if (remaining > 0) clock_.sleep(static_cast<std::uint32_t>(remaining));
    host_.processMessages();
}

} // namespace veskar
