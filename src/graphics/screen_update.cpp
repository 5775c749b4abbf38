#include "graphics/screen_update.h"

#include "graphics/kernels.h"
#include "graphics/pictures.h"
#include "graphics/scene.h"
#include "graphics/screen_filter.h"
#include "graphics/transitions.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr int kTwoStepRegister = 9;   // S009
constexpr int kSpeedRegister = 16;    // S016
constexpr int kCutShortRegister = 19; // S019
constexpr int kFullScreenText = 150;  // S150
constexpr int kBlinds = 6;
constexpr int kCut = 4;
} // namespace

void ScreenUpdate::show(const Picture& picture) {
    engine_.host.windowPicture().copyFrom(picture, 0, 0, picture.width(), picture.height(), 0, 0);
    engine_.host.present();
}

void ScreenUpdate::UpdateScreen(int mode) {
    if (mode == 0) return;
    auto& pictures = engine_.pictures;
    auto& vars = engine_.vars;
    engine_.run.Busy = 1;
    pictures.prevScreen = pictures.nextScreen;
    engine_.scene.ComposeScene();
    engine_.scene.ApplyScreenFilter();

    // Full-screen text: the bare scene first, then the text layer with blinds.
    if (vars.S(kFullScreenText) != 0) {
        const int twoStep = vars.S(kTwoStepRegister);
        if ((twoStep == 1 && engine_.scene.bgChanged) || twoStep == 2) {
            pictures.nextScreen = pictures.sceneBuffer;
            RunTransition(mode);
            pictures.prevScreen = pictures.nextScreen;
            if (twoStep == 1) engine_.scene.bgChanged = false;
            mode = kBlinds;
        }
    }
    ComposeScreenWithWindow();
    RunTransition(mode);
}

void ScreenUpdate::ComposeScreenWithWindow() { engine_.window.ComposeScreenWithWindow(); }

void ScreenUpdate::RunTransition(int mode) {
    auto& run = engine_.run;
    auto& vars = engine_.vars;
    run.Busy = 1;
    run.InEffect = true;
    run.EffectInterrupt = 0;
    vars.S(kCutShortRegister) = 0;
    if (mode < 0) mode = 1;
    if (engine_.settings.GMode != 0 || run.SkipActive) mode = kCut;
    engine_.frameTimer.FrameTimerStart();
    const SpeedRow row = speedRow(vars.S(kSpeedRegister));

    Transitions transitions(engine_, *this, row);
    if (!transitions.run(mode)) vars.S(kCutShortRegister) = 1;

    vars.S(kSpeedRegister) = 0;
    if (vars.S(kFullScreenText) != 0) engine_.pictures.prevScreen = engine_.pictures.nextScreen;
    run.Busy = 0;
    run.InEffect = false;
}

void ScreenUpdate::FadeToNextScreen(int s, int p) {
    auto& run = engine_.run;
    auto& pictures = engine_.pictures;
    engine_.frameTimer.FrameTimerStart();
    run.Busy = 1;
    run.InEffect = true;
    run.EffectInterrupt = 0;
    for (int level = 0; level < 257;) {
        CrossFadeScreen(pictures.nextScreen, pictures.prevScreen, level, pictures.fxBuffer);
        show(pictures.fxBuffer);
        if (run.EffectInterrupt != 0) break;
        level += s * static_cast<int>(engine_.frameTimer.FrameTimerWait(static_cast<std::uint32_t>(p)));
    }
    run.Busy = 0;
    run.InEffect = false;
    show(pictures.nextScreen);
}

void ScreenUpdate::FadePreset(int kind) {
    switch (kind) {
    case 1:
        FadeToNextScreen(24, 40);
        break;
    case 3:
        FadeToNextScreen(5, 50);
        break;
    case 4:
        FadeToNextScreen(2, 50);
        break;
    default:
        FadeToNextScreen(12, 40);
        break;
    }
}

void ScreenUpdate::SepiaFade() {
    auto& run = engine_.run;
    auto& pictures = engine_.pictures;
    run.Busy = 1;
    makeSepia(pictures.sceneBuffer);
    engine_.window.ComposedWindowValid = false;
    pictures.nextScreen = pictures.sceneBuffer;
    engine_.window.DrawMessageWindow(); // the window and its page, when shown
    engine_.frameTimer.FrameTimerStart();
    for (int a = 48; a < 256;) {
        CrossFadeScreen(pictures.nextScreen, pictures.prevScreen, a, pictures.fxBuffer);
        show(pictures.fxBuffer);
        a += 8 * static_cast<int>(engine_.frameTimer.FrameTimerWait(20));
    }
    show(pictures.nextScreen);
    run.Busy = 0;
}

void ScreenUpdate::wipeset(std::string_view name) {
    engine_.pictures.LoadPicture(name, engine_.pictures.wipeMask);
}

void ScreenUpdate::fix() {
    auto& pictures = engine_.pictures;
    const Picture& window = engine_.host.windowPicture();
    pictures.sceneBuffer.copyFrom(window, 0, 0, 800, 600, 0, 0);
    engine_.window.ComposedWindowValid = false;
    engine_.vars.S(23) = 0;
    pictures.nextScreen = pictures.sceneBuffer;
}

} // namespace veskar
