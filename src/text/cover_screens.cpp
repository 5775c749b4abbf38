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
    // PENDING(input): the menus are disabled here.
    HiddenScreenCopy = engine_.pictures.nextScreen;
    engine_.screen.showAt(engine_.pictures.sceneBuffer, 0, 0);
    engine_.run.ScreenMode = screen_mode::kWindowHidden;
}

void MessageWindow::ShowHiddenWindow() {
    if (engine_.run.ScreenMode != screen_mode::kWindowHidden) return;
    engine_.screen.showAt(HiddenScreenCopy, 0, 0);
    HiddenScreenCopy = Picture();
    engine_.run.ScreenMode = 0;
    // PENDING(quick-button bar, input): the bar is redrawn and the menus enabled here.
}

void MessageWindow::ShowPanicScreen() {
    // Shown once: a second call must not take the cover itself as the screen to give back.
    if (PanicShown) return;
    // Without a readable panic.bmp the game stays as it is.
    Picture cover;
    if (!engine_.pictures.loadPanicPicture(cover)) return;
    // PENDING(sound): the sound is muted here.
    auto& pictures = engine_.pictures;
    PanicScreenCopy = pictures.nextScreen;
    pictures.nextScreen = std::move(cover);
    engine_.screen.showAt(pictures.nextScreen, 0, 0);
    PanicShown = true;
    // Counted, not set: the cover holds everything until it is taken away.
    ++engine_.run.Busy;
    // PENDING(sound): the voice is stopped here.
}

void MessageWindow::EndPanicScreen() {
    if (!PanicShown) return;
    // PENDING(sound): the sound is unmuted here.
    auto& pictures = engine_.pictures;
    pictures.nextScreen = std::move(PanicScreenCopy);
    PanicScreenCopy = Picture();
    engine_.screen.showAt(pictures.nextScreen, 0, 0);
    PanicShown = false;
    if (engine_.run.Busy > 0) --engine_.run.Busy;
}

} // namespace veskar
