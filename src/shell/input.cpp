#include "shell/input.h"

#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

// PENDING(input): the routing of clicks, keys and the wheel by activity. For
// now a click ends a movie, and a left click stops the voice and cuts a
// running transition or effect short.
void Input::mouseDown(MouseButton button, Point) {
    if (engine_.movie.active()) {
        engine_.movie.EndMovie();
        return;
    }
    if (button == MouseButton::Left) engine_.sound.stopVoiceForClick();
    if (engine_.run.InEffect && button == MouseButton::Left) engine_.run.EffectInterrupt = 1;
}
void Input::mouseUp(MouseButton, Point) {} // PENDING(input)
void Input::mouseMove(Point) {}            // PENDING(input)
void Input::wheel(int, Point) {}           // PENDING(input)
void Input::keyDown(int) {}                // PENDING(input)
void Input::keyUp(int) {}                  // PENDING(input)

// PENDING(input): "終了" opens the tool-strip menu; for now it closes the
// window through the usual close question.
void Input::toolQuit() { engine_.host.requestClose(); }
void Input::toolLoad() {}   // PENDING(saves): the load list
void Input::toolSave() {}   // PENDING(saves): the save list
void Input::toolConfig() {} // PENDING(settings screens)

void Input::StopSkipAndAuto(bool force) {
    if (!force && engine_.settings.BreakonSelect == 0) return;
    StopSkip();
    engine_.vars.S(reg::kAutoLevel) = 0;
}

void Input::StopSkip() {
    engine_.vars.S(reg::kQuickSkipLit) = 0;
    engine_.vars.S(reg::kQuickAutoLit) = 0;
    engine_.run.SkipActive = false;
}

void Input::UpdateCommandAvailability() {} // PENDING(input): menus and tool strip

} // namespace veskar
