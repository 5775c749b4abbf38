#pragma once
// The 23 transition modes, run by ScreenUpdate::RunTransition. Each mode
// returns false when a click or a close request cut it short (nextScreen is
// then on the window already).

#include <cstdint>

#include "core/picture.h"
#include "graphics/screen_update.h"
#include "platform/host.h"

namespace veskar {

class Engine;

class Transitions {
public:
    Transitions(Engine& engine, ScreenUpdate& screen, SpeedRow row);

    // Runs one mode; modes above 22 draw nothing.
    bool run(int mode);

private:
    // The cut-short check: true when the transition has to end now.
    bool cutShort();
    void show(const Picture& picture) { screen_.show(picture); }
    // Part of nextScreen (or another picture) onto the window, shown at the next present().
    void copyToWindow(const Picture& source, int x, int y, int width, int height) {
        copyToWindow(source, x, y, width, height, x, y);
    }
    void copyToWindow(const Picture& source, int srcX, int srcY, int width, int height, int dstX, int dstY);
    // Shows what was copied since the last present (the rectangle around it).
    void present();
    std::uint32_t wait(int period);
    std::uint32_t deadlineIn(int ms);
    void waitUntil(std::uint32_t deadline);

    // Fades and blends (transitions_blend.cpp).
    bool ruleWipe();
    bool tiles();
    bool softWipe();
    bool colourMorph();
    bool ditheredFade();
    // Strips, blocks and spans (transitions_strips.cpp).
    bool blinds();
    bool circle();
    bool rows();
    bool columns();
    bool squares();
    bool halfRows();
    bool slantedBlinds();
    bool closingHalves();
    // Whole-picture motion (transitions_motion.cpp).
    bool mosaic();
    bool push();
    bool zoom();
    bool slide(bool toLeft);

    Engine& engine_;
    ScreenUpdate& screen_;
    SpeedRow row_;
    Picture& prev_;
    Picture& next_;
    Picture& fx_;
    Rect copied_{};
};

} // namespace veskar
