#pragma once
// What the engine needs from the window that shows it. A host (the Qt desktop
// window, or the headless runner) owns the window picture and delivers the
// engine's events: idle passes, timer ticks, paints, input and close requests.

#include <cstdint>
#include <string>

#include "core/picture.h"

namespace veskar {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle of the window picture, in its pixels.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

constexpr Rect kWholeWindow{0, 0, 800, 600};

class Host {
public:
    virtual ~Host() = default;

    // The 800 x 600 picture the player sees ("PB"). Drawing to the window means
    // writing into it and presenting the rectangle that changed; the player
    // sees the window picture as it stands after each present.
    virtual Picture& windowPicture() = 0;
    virtual void present(const Rect& changed) = 0;
    void present() { present(kWholeWindow); }
    // Shows a whole frame drawn elsewhere (a fade's buffer): the window
    // picture becomes `frame` (its top-left part when sizes differ). A host
    // may show it straight from `frame`, without copying it first.
    virtual void showFrame(const Picture& frame) {
        windowPicture().copyFrom(frame, 0, 0, frame.width(), frame.height(), 0, 0);
        present({0, 0, frame.width(), frame.height()});
    }

    // Delivers pending timer ticks, paints and input, but never an idle pass.
    // Blocking operations call it between their frames.
    virtual void processMessages() = 0;

    // Texts are Shift-JIS bytes, as the engine keeps them.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    // Ask the main window to close; it goes through the engine's close query.
    virtual void requestClose() = 0;

    virtual void setCaption(const std::string& title) = 0;

    // Outer position of the main window on the desktop (moved by `shake`).
    virtual Point windowPosition() = 0;
    virtual void setWindowPosition(Point topLeft) = 0;
    // Outer size of the main window, and the size of the screen it is on.
    virtual Point windowSize() = 0;
    virtual Point screenSize() = 0;

    // Borderless full screen with the game scaled to fit (mode 1) or the
    // borderless window at the screen's corner (mode 2). Returns false when the
    // host cannot do it; the window then stays as it was.
    virtual bool enterFullScreen(int mode) = 0;
    virtual void leaveFullScreen() = 0;
};

} // namespace veskar
