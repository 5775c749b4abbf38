// The animated icon that shows the script waits for a click. It is drawn on
// the display only: nextScreen keeps the screen without it, so putting its
// area back is a copy from there.

#include <algorithm>

#include "graphics/kernels.h"
#include "shell/engine.h"
#include "text/message_window.h"

namespace veskar {

Point MessageWindow::clickWaitPosition() const {
    const GameDefinition& d = engine_.definition;
    if (engine_.layout.fullScreenText()) {
        // In the full-screen text mode the icon follows the text cursor.
        const TextLayout& layout = engine_.layout;
        return {layout.state().textColumn * d.TX2_PITCH_X + d.TX2_OFS_X,
                layout.state().textRow * d.TX2_PITCH_Y + d.TX2_OFS_Y};
    }
    return {d.CLICK_WAIT_OFS_X, d.CLICK_WAIT_OFS_Y};
}

void MessageWindow::AnimateClickWait() {
    // PENDING(effects): a running background animation has no icon.
    if (engine_.run.SkipActive) return;
    if (!ClickWaitRestored) RestoreClickWaitArea();

    const GameDefinition& d = engine_.definition;
    ++ClickWaitTicks;
    const int width = d.CLICK_WAIT_SIZE_X;
    const int height = d.CLICK_WAIT_SIZE_Y;
    if (d.CLICK_WAIT_PAT <= 0 || width <= 0 || height <= 0) return;
    const int timing = std::clamp(d.CLICK_WAIT_TIMING, 0, 31);
    const int frame =
        static_cast<int>((ClickWaitTicks >> timing) % static_cast<std::uint32_t>(d.CLICK_WAIT_PAT));

    const Point at = clickWaitPosition();
    if (engine_.layout.fullScreenText()) ClickWaitPos = at;

    // A strip without this frame draws nothing.
    const Picture& strip = engine_.pictures.sys_clickw;
    if (strip.width() < (frame + 1) * width || strip.height() < 2 * height) return;

    if (ClickWaitWork.width() != width || ClickWaitWork.height() != height)
        ClickWaitWork.resize(width, height);
    // The icon is blended over the screen without it; parts off the screen are
    // never shown.
    ClickWaitWork.copyFrom(engine_.pictures.nextScreen, at.x, at.y, width, height, 0, 0);
    const int groups = 3 * width / 8;
    const int frameOffset = 3 * frame * width;
    for (int r = 0; r < height; ++r)
        MaskBlendRow(ClickWaitWork.row(r), strip.row(r) + frameOffset, strip.row(height + r) + frameOffset,
                     groups, ClickWaitWork.row(r));
    engine_.screen.showAt(ClickWaitWork, at.x, at.y);
    ClickWaitRestored = false;
}

void MessageWindow::RestoreClickWaitArea() {
    const GameDefinition& d = engine_.definition;
    const Point at =
        engine_.layout.fullScreenText() ? ClickWaitPos : Point{d.CLICK_WAIT_OFS_X, d.CLICK_WAIT_OFS_Y};
    // The icon's whole area, whatever its size.
    engine_.screen.showArea(engine_.pictures.nextScreen,
                            {at.x, at.y, d.CLICK_WAIT_SIZE_X, d.CLICK_WAIT_SIZE_Y});
    ClickWaitRestored = true;
}

} // namespace veskar
