#include "graphics/transitions.h"

#include "graphics/pictures.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

Transitions::Transitions(Engine& engine, ScreenUpdate& screen, SpeedRow row)
    : engine_(engine), screen_(screen), row_(row), prev_(engine.pictures.prevScreen),
      next_(engine.pictures.nextScreen), fx_(engine.pictures.fxBuffer), window_(engine.host.windowPicture()) {
}

bool Transitions::cutShort() {
    if (engine_.run.EffectInterrupt == 0) return false;
    show(next_);
    return true;
}

void Transitions::copyToWindow(const Picture& source, int x, int y, int width, int height) {
    window_.copyFrom(source, x, y, width, height, x, y);
}

void Transitions::present() { engine_.host.present(); }

std::uint32_t Transitions::wait(int period) {
    return engine_.frameTimer.FrameTimerWait(static_cast<std::uint32_t>(period));
}

std::uint32_t Transitions::deadlineIn(int ms) {
    return engine_.clock.tickCount() + static_cast<std::uint32_t>(ms);
}

void Transitions::waitUntil(std::uint32_t deadline) { engine_.frameTimer.WaitUntilTick(deadline); }

bool Transitions::run(int mode) {
    switch (mode) {
    case 1:
        screen_.FadeToNextScreen(16, 10);
        return true;
    case 2:
        screen_.FadeToNextScreen(8, 15);
        return true;
    case 3:
        screen_.FadeToNextScreen(row_.s, row_.p);
        return true;
    case 4:
        show(next_);
        return true;
    case 5:
        return ruleWipe();
    case 6:
        return blinds();
    case 7:
        return circle();
    case 8:
        return tiles();
    case 9:
        return rows();
    case 10:
        return columns();
    case 11:
        return squares();
    case 12:
        return mosaic();
    case 13:
        return softWipe();
    case 14:
        return halfRows();
    case 15:
        return colourMorph();
    case 16:
        return slantedBlinds();
    case 17:
        return ditheredFade();
    case 18:
        return closingHalves();
    case 19:
        return push();
    case 20:
        return zoom();
    case 21:
        return slide(true);
    case 22:
        return slide(false);
    default:
        return true; // nothing is drawn
    }
}

} // namespace veskar
