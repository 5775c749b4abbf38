#pragma once
// The message window: the half-transparent panel over the lower part of the
// screen that holds the story text, with the speaker's name plate and the
// animated click-wait icon. Builds the window picture from `sys_tw` and the
// player's colour settings, composes it over the scene, fades it in and out,
// hides it, and switches to the darkened full-screen text mode.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/picture.h"
#include "platform/host.h"

namespace veskar {

class Engine;

class MessageWindow {
public:
    explicit MessageWindow(Engine& engine);

    // Start-up and after the window settings changed: `sys_tw` with the
    // player's colour and opacity applied.
    void BuildWindowPicture();
    // ComposedWindow (or DarkenedScreen in full-screen text mode) over sceneBuffer.
    void ComposeMessageWindow();
    // Puts the shown window and its text into nextScreen.
    void DrawMessageWindow();
    // nextScreen := sceneBuffer (or DarkenedScreen), then the window on top.
    void ComposeScreenWithWindow();

    // Commands: `win_open`, `win_close`, `mode`, `tw_set`.
    void OpenMessageWindow();
    void CloseMessageWindow();
    void SetTextMode(int n);
    void SetWindowState(int n);

    // The speaker's plate; also makes the speaker's colour the text colour.
    void DrawNamePlate(std::string_view name);

    // Every timer tick while a click wait shows its icon.
    void AnimateClickWait();
    void RestoreClickWaitArea();

    // Right-button actions and the click that ends them.
    void HideMessageWindow();
    void ShowHiddenWindow();
    void ShowPanicScreen();
    void EndPanicScreen();

    Picture WindowPicture;
    Picture ComposedWindow;
    Picture CleanComposedWindow;
    Picture DarkenedScreen;
    Picture NamePlateBackground;
    Picture NamePlateWork;
    Picture ClickWaitWork;
    Picture HiddenScreenCopy;
    Picture PanicScreenCopy;

    bool ComposedWindowValid = false;
    std::uint32_t ClickWaitTicks = 0;
    bool ClickWaitRestored = true;
    Point ClickWaitPos;
    bool PanicShown = false;

private:
    // The window's own pictures at the sizes the game definition gives.
    void createWorkPictures();
    // Cross-fade on the display from `from` to `to`; input is held and a click
    // ends it early.
    void fadeOnDisplay(const Picture& to, const Picture& from);
    Point clickWaitPosition() const;

    Engine& engine_;
};

} // namespace veskar
