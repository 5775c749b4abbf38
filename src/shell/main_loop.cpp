// The main loop's pass and the 55 ms timer tick.

#include "platform/clock.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr std::uint32_t kPassMs = 20;

// Auto mode paces the passes by its level.
std::uint32_t autoPassMs(int level) { return 4u * static_cast<std::uint32_t>(level) + 15u; }
} // namespace

std::uint32_t Engine::AppIdle() {
    const std::uint32_t t0 = clock.tickCount();
    ++run.FrameCounter;
    if (run.ClickGuard > 0) --run.ClickGuard;

    const auto pace = [&] { return t0 + kPassMs; };
    if (run.BacklogOpen || run.ConfirmKind != 0) return pace();

    if (run.ScreenMode != screen_mode::kPlay) {
        // PENDING(map, gallery, effects): the map's and the gallery's per-pass
        // steps, and the background animation.
        return pace();
    }

    if (run.StartPending) {
        firstPass();
        run.StartPending = false;
        return pace();
    }
    if (run.Busy) return pace();

    random.next();
    if (run.QuitRequested) host.requestClose();

    if (options.holdSkip) run.SkipActive = true;
    if (run.SkipActive) {
        if (click_wait::releasedByModes(run.ClickWaitKind)) interp.releaseClickWait();
        run.ClickWaitKind = click_wait::kNone;
    }
    if (run.ChoiceMode != 0 || run.WaitTicks != 0 || run.ClickWaitKind != click_wait::kNone ||
        run.WaitVoice) {
        // PENDING(effects): the background animation steps here.
        return pace();
    }
    if (run.WaitPasses != 0) {
        if (run.WaitPasses > 0) --run.WaitPasses;
        return pace();
    }
    if (run.ScriptRunning) interp.runStep();
    const int autoLevel = vars.S(reg::kAutoLevel);
    if (autoLevel != 0) return t0 + autoPassMs(autoLevel);
    return pace();
}

void Engine::Timer1Timer() {
    ++run.TickCounter;
    music.MusicTick();
    if (movie.tick()) return;
    // PENDING(effects): the effect tick.
    if (run.ScreenMode == screen_mode::kRecollection) return; // PENDING(recollection): its tick
    if (run.BacklogOpen || run.Busy || run.ScreenMode != screen_mode::kPlay) return;
    if (run.ChoiceMode != 0 && run.ConfirmKind == 0) return; // PENDING(choices): the choice tick

    const bool voicePlaying = sound.IsVoicePlaying();
    if (!voicePlaying) run.WaitVoice = false;
    if (run.WaitTicks > 0) {
        --run.WaitTicks;
        return;
    }
    // PENDING(quick-button bar): hover tracking.
    music.deferredMusicTick();
    if (run.ClickWaitKind == click_wait::kNone || run.Busy || run.ScreenMode != screen_mode::kPlay) return;
    if (vars.S(reg::kAutoLevel) == 0) {
        // A page end without a wait marker shows no icon.
        if (run.ClickWaitKind != click_wait::kSilentEnd) window.AnimateClickWait();
        return;
    }
    if (run.AutoCountdown > 0) {
        --run.AutoCountdown;
        if (run.AutoCountdown == 0 && voicePlaying) run.AutoCountdown = 1;
    } else if (voicePlaying) {
        run.AutoCountdown = 1;
    }
    if (run.AutoCountdown != 0) return;
    if (click_wait::releasedByModes(run.ClickWaitKind) && run.WindowShown) interp.releaseClickWait();
    run.ClickWaitKind = click_wait::kNone;
}

} // namespace veskar
