#include "text/message_window.h"

#include <algorithm>

#include "graphics/kernels.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr int kAsDrawnOpacity = 192; // TXBG_A that leaves the mask as drawn
constexpr int kFadeStep = 8;         // levels per period of a window fade
constexpr std::uint32_t kFadePeriod = 10;
constexpr int kTextModeTransition = 6;
constexpr int kNamePlateTextX = 4;
constexpr int kNamePlateTextY = 6;

void resizeIfNeeded(Picture& picture, int width, int height) {
    if (picture.width() != std::max(0, width) || picture.height() != std::max(0, height))
        picture.resize(width, height);
}
} // namespace

MessageWindow::MessageWindow(Engine& engine) : engine_(engine) {}

void MessageWindow::createWorkPictures() {
    const GameDefinition& d = engine_.definition;
    if (ComposedWindow.width() != std::max(0, d.TXW_SIZE_X) ||
        ComposedWindow.height() != std::max(0, d.TXW_SIZE_Y))
        ComposedWindowValid = false;
    resizeIfNeeded(ComposedWindow, d.TXW_SIZE_X, d.TXW_SIZE_Y);
    resizeIfNeeded(CleanComposedWindow, d.TXW_SIZE_X, d.TXW_SIZE_Y);
    resizeIfNeeded(DarkenedScreen, kScreenWidth, kScreenHeight);
    resizeIfNeeded(NamePlateBackground, d.NP_SZ_X, d.NP_SZ_Y);
    resizeIfNeeded(NamePlateWork, d.NP_SZ_X, d.NP_SZ_Y);
    resizeIfNeeded(ClickWaitWork, d.CLICK_WAIT_SIZE_X, d.CLICK_WAIT_SIZE_Y);
}

void MessageWindow::BuildWindowPicture() {
    createWorkPictures();
    const GameDefinition& d = engine_.definition;
    const Settings& s = engine_.settings;
    WindowPicture = engine_.pictures.sys_tw;
    // sys_tw1 only gives the size of one half.
    const int w = std::min(engine_.pictures.sys_tw1.width(), WindowPicture.width());
    const int h = engine_.pictures.sys_tw1.height();

    // A colour of the player's own replaces the drawn colour image entirely.
    if (s.TXBG_R != d.TXW_COLOR_R || s.TXBG_G != d.TXW_COLOR_G || s.TXBG_B != d.TXW_COLOR_B) {
        const Colour colour = makeColour(std::clamp(s.TXBG_R, 0, 255), std::clamp(s.TXBG_G, 0, 255),
                                         std::clamp(s.TXBG_B, 0, 255));
        for (int y = 0; y < std::min(h, WindowPicture.height()); ++y)
            for (int x = 0; x < w; ++x)
                WindowPicture.setPixel(x, y, colour);
    }

    // Opacity: below 192 the mask is scaled down, above it raised by the excess.
    const int a = s.TXBG_A;
    if (a != kAsDrawnOpacity) {
        for (int y = h; y < std::min(2 * h, WindowPicture.height()); ++y) {
            std::uint8_t* row = WindowPicture.row(y);
            for (int i = 0; i < 3 * w; ++i) {
                const int v = row[i];
                const int adjusted = a < kAsDrawnOpacity ? v * a / kAsDrawnOpacity : v + a - kAsDrawnOpacity;
                row[i] = static_cast<std::uint8_t>(std::clamp(adjusted, 0, 255));
            }
        }
    }
    ComposedWindowValid = false;
}

void MessageWindow::ComposeMessageWindow() {
    // PENDING(effects): a running background animation always recomposes.
    if (ComposedWindowValid) {
        ComposedWindow = CleanComposedWindow;
        return;
    }
    const GameDefinition& d = engine_.definition;
    const Picture& scene = engine_.pictures.sceneBuffer;
    if (engine_.layout.fullScreenText()) {
        resizeIfNeeded(DarkenedScreen, kScreenWidth, kScreenHeight);
        // Even TXBG_A2 = 0 darkens by 255/256.
        ScaleScreen(scene, DarkenedScreen, 255 - engine_.settings.TXBG_A2);
        return;
    }

    createWorkPictures();
    // The scene under the window first: where the window picture is missing or
    // the window leaves the screen, the scene shows through unchanged.
    ComposedWindow.fill(0);
    ComposedWindow.copyFrom(scene, d.TXW_OFS_X, d.TXW_OFS_Y, d.TXW_SIZE_X, d.TXW_SIZE_Y, 0, 0);
    // Whole groups of 8 bytes from the window's left edge; the bytes of a
    // window width that is not a multiple of 8 keep the scene.
    const int skip = std::max(0, -d.TXW_OFS_X); // window pixels left of the screen
    const int endByte = std::min({3 * d.TXW_SIZE_X / 8 * 8, 3 * (scene.width() - d.TXW_OFS_X),
                                  WindowPicture.rowBytes(), ComposedWindow.rowBytes()});
    const int groups = (endByte - 3 * skip) / 8;
    if (groups > 0) {
        for (int r = 0; r < d.TXW_SIZE_Y; ++r) {
            const int sy = d.TXW_OFS_Y + r;
            if (sy < 0 || sy >= scene.height() || d.TXW_SIZE_Y + r >= WindowPicture.height()) continue;
            const int offset = 3 * skip;
            MaskBlendRow(scene.row(sy) + 3 * (d.TXW_OFS_X + skip), WindowPicture.row(r) + offset,
                         WindowPicture.row(d.TXW_SIZE_Y + r) + offset, groups,
                         ComposedWindow.row(r) + offset);
        }
    }
    // PENDING(quick-button bar): its window button is drawn here.
    CleanComposedWindow = ComposedWindow;
    NamePlateBackground.fill(0);
    NamePlateBackground.copyFrom(ComposedWindow, d.NP_OFS_X - d.TXW_OFS_X, d.NP_OFS_Y - d.TXW_OFS_Y,
                                 d.NP_SZ_X, d.NP_SZ_Y, 0, 0);
    ComposedWindowValid = true;
    // PENDING(effects): a running background animation gets the window in each of its frames.
}

void MessageWindow::DrawMessageWindow() {
    const GameDefinition& d = engine_.definition;
    Picture& next = engine_.pictures.nextScreen;
    if (engine_.run.WindowShown) {
        if (engine_.layout.fullScreenText())
            next.copyFrom(DarkenedScreen, 0, 0, DarkenedScreen.width(), DarkenedScreen.height(), 0, 0);
        else
            next.copyFrom(ComposedWindow, 0, 0, ComposedWindow.width(), ComposedWindow.height(), d.TXW_OFS_X,
                          d.TXW_OFS_Y);
        // PENDING(quick-button bar): redrawn into nextScreen here.
        engine_.layout.RedrawWindowText();
    }
    // PENDING(map): the map overlay redraws itself here.
}

void MessageWindow::ComposeScreenWithWindow() {
    auto& pictures = engine_.pictures;
    // PENDING(effects): effect symbols are removed here before composing.
    if (engine_.layout.fullScreenText()) {
        ComposedWindowValid = false;
        pictures.nextScreen = engine_.run.WindowShown ? DarkenedScreen : pictures.sceneBuffer;
    } else {
        pictures.nextScreen = pictures.sceneBuffer;
    }
    ComposeMessageWindow();
    DrawMessageWindow();
}

void MessageWindow::fadeOnDisplay(const Picture& to, const Picture& from) {
    auto& run = engine_.run;
    Picture& fx = engine_.pictures.fxBuffer;
    run.Busy = 1;
    run.InEffect = true;
    run.EffectInterrupt = 0;
    engine_.frameTimer.FrameTimerStart();
    for (int level = 0; level < 256;) {
        CrossFadeScreen(to, from, level, fx);
        engine_.screen.showAt(fx, 0, 0);
        if (run.EffectInterrupt != 0) break; // a click ends the fade at its end state
        level += kFadeStep * static_cast<int>(engine_.frameTimer.FrameTimerWait(kFadePeriod));
    }
    run.Busy = 0;
    run.InEffect = false;
}

void MessageWindow::OpenMessageWindow() {
    auto& run = engine_.run;
    auto& pictures = engine_.pictures;
    if (run.WindowShown) return;
    pictures.prevScreen = pictures.nextScreen;
    run.WindowShown = true;
    ComposeScreenWithWindow();
    if (!run.SkipActive) fadeOnDisplay(pictures.nextScreen, pictures.prevScreen);
    engine_.screen.showAt(pictures.nextScreen, 0, 0);
    engine_.layout.markPageEmpty();
}

void MessageWindow::CloseMessageWindow() {
    auto& run = engine_.run;
    auto& pictures = engine_.pictures;
    auto& layout = engine_.layout;
    // The cursor goes home; the page grid itself is kept.
    layout.homeCursorAndStyle();
    if (!run.WindowShown) return;
    if (!run.SkipActive) fadeOnDisplay(pictures.sceneBuffer, pictures.nextScreen);
    engine_.screen.showAt(pictures.sceneBuffer, 0, 0);
    pictures.nextScreen = pictures.sceneBuffer;
    run.WindowShown = false;
    layout.markPageEmpty();
}

void MessageWindow::SetTextMode(int n) {
    auto& vars = engine_.vars;
    ComposedWindowValid = false;
    engine_.glyphs.resetTextColour();
    if (n == vars.S(reg::kFullScreenText)) return;

    engine_.layout.resetPage();
    // Any other value toggles the mode.
    if (vars.S(reg::kFullScreenText) != 0) {
        vars.S(reg::kFullScreenText) = 0;
        // PENDING(quick-button bar): redrawn here.
    } else {
        vars.S(reg::kFullScreenText) = 1;
        ComposeScreenWithWindow();
    }
    engine_.screen.UpdateScreen(kTextModeTransition);
}

void MessageWindow::SetWindowState(int n) {
    engine_.layout.resetPage();
    engine_.run.WindowShown = n != 0;
}

void MessageWindow::DrawNamePlate(std::string_view name) {
    const GameDefinition& d = engine_.definition;
    // The page recall shows every speaker in yellow.
    const Colour colour =
        engine_.run.ScreenMode == screen_mode::kPageRecall ? makeColour(255, 255, 0) : d.speakerColour(name);
    // The message text that follows is drawn in the speaker's colour.
    engine_.vars.S(reg::kTextColour) = static_cast<int>(colour);
    NamePlateWork = NamePlateBackground;
    engine_.glyphs.DrawTextString(name, kNamePlateTextX, NamePlateWork, 0, kNamePlateTextY);
    engine_.pictures.nextScreen.copyFrom(NamePlateWork, 0, 0, NamePlateWork.width(), NamePlateWork.height(),
                                         d.NP_OFS_X, d.NP_OFS_Y);
    engine_.screen.showAt(NamePlateWork, d.NP_OFS_X, d.NP_OFS_Y);
}

} // namespace veskar
