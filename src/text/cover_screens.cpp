// What covers the game for a moment and gives it back on the next click: the
// picture without the message window (the window hidden), and the panic
// picture.

#include "script/registers.h"
#include "shell/engine.h"
#include "text/message_window.h"

namespace veskar {

namespace {} // namespace

void MessageWindow::HideMessageWindow() {
    if (engine_.vars.S(reg::kSavingAllowed) == 0) return;
    // The menus are disabled here once input handling exists.
    HiddenScreenCopy = engine_.pictures.nextScreen;
    showOnDisplay(engine_.pictures.sceneBuffer, 0, 0);
    engine_.run.ScreenMode = screen_mode::kWindowHidden;
}

void MessageWindow::ShowHiddenWindow() {
    if (engine_.run.ScreenMode != screen_mode::kWindowHidden) return;
    showOnDisplay(HiddenScreenCopy, 0, 0);
    HiddenScreenCopy = Picture();
    engine_.run.ScreenMode = 0;
    // The quick-button bar is redrawn and the menus enabled here once they exist.
}

void MessageWindow::ShowPanicScreen() {
    // Shown once: a second call must not take the cover itself as the screen to give back.
    if (PanicShown) return;
    // Without a readable panic.bmp the game stays as it is.
    Picture cover;
    if (!engine_.pictures.loadPanicPicture(cover)) return;
    // The sound is muted here once sound exists.
    auto& pictures = engine_.pictures;
    PanicScreenCopy = pictures.nextScreen;
    pictures.nextScreen = std::move(cover);
    showOnDisplay(pictures.nextScreen, 0, 0);
    PanicShown = true;
    // Counted, not set: the cover holds everything until it is taken away.
    ++engine_.run.Busy;
    // The voice is stopped here once sound exists.
}

void MessageWindow::EndPanicScreen() {
    if (!PanicShown) return;
    // The sound is unmuted here once sound exists.
    auto& pictures = engine_.pictures;
    pictures.nextScreen = std::move(PanicScreenCopy);
    PanicScreenCopy = Picture();
    showOnDisplay(pictures.nextScreen, 0, 0);
    PanicShown = false;
    if (engine_.run.Busy > 0) --engine_.run.Busy;
}

} // namespace veskar
