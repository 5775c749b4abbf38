#pragma once
// The run-state flags that the main loop, the timer and the input handlers
// consult. Each is set by the subsystem that owns the activity it describes.

#include <cstdint>

namespace veskar {

struct RunState {
    int FrameCounter = 0; // main-loop passes since start
    int TickCounter = 0;  // timer ticks since start
    int ClickGuard = 0;   // counts down once per pass; a handled left click sets 5
    int ScreenMode = 0;   // 0 play, 1 window hidden, 3 roll, 4 map, 5 staff roll,
                          // 6 gallery, 7 scroll, 8 recollection, 9 page-back view
    bool BacklogOpen = false;
    int ConfirmKind = 0; // a yes/no confirmation is on screen; 0 none
    bool StartPending = false;
    bool QuitRequested = false;
    std::uint8_t Busy = 0;   // a blocking operation runs; tested as non-zero
    bool InEffect = false;   // an interruptible blocking effect runs its own loop
    int EffectInterrupt = 0; // 1 cut short (click), 2 abort (window close)
    bool SkipActive = false;
    int ClickWaitKind = 0; // 0 none; 1, 2, 4, 5
    int ChoiceMode = 0;
    int WaitTicks = 0;
    bool WaitVoice = false;
    int WaitPasses = 0; // negative: until a click
    bool ScriptRunning = false;
    bool WindowShown = false;
    int AutoCountdown = 0;
    bool HasWaveOut = false;
    int FullScreenState = 0; // 0 windowed, 1 full screen
    int DeferredMusic = 0;
    bool CommandsLocked = false;
};

} // namespace veskar
