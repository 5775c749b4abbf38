#pragma once
// Every visible change of the game screen: the scene is composed, the message
// window put on top, and the result brought onto the window with one of 23
// transitions, paced by the frame timer and cut short by a click.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/picture.h"

namespace veskar {

class Engine;

// One row of the speed table: alpha step s, frame-timer period p (ms) and
// frame time n (ms).
struct SpeedRow {
    int s;
    int p;
    int n;
    bool operator==(const SpeedRow&) const = default;
};

inline constexpr std::array<SpeedRow, 17> kSpeedTable = {{
    {4, 8, 20},
    {32, 4, 1},
    {32, 8, 2},
    {32, 12, 3},
    {16, 8, 5},
    {16, 12, 8},
    {8, 8, 12},
    {8, 12, 16},
    {4, 8, 20},
    {4, 10, 30},
    {4, 12, 40},
    {2, 8, 60},
    {2, 12, 70},
    {1, 8, 80},
    {1, 12, 100},
    {1, 16, 120},
    {1, 20, 140},
}};

// Indexes outside the table use row 0.
constexpr SpeedRow speedRow(int index) {
    return index >= 0 && index < static_cast<int>(kSpeedTable.size())
               ? kSpeedTable[static_cast<std::size_t>(index)]
               : kSpeedTable[0];
}

constexpr int kTransitionCount = 23;

class ScreenUpdate {
public:
    explicit ScreenUpdate(Engine& engine) : engine_(engine) {}

    // Mode 0 does nothing; negative modes show transition 1.
    void UpdateScreen(int mode);
    // Brings nextScreen onto the window, starting from prevScreen.
    void RunTransition(int mode);
    // Cross-fade from prevScreen to nextScreen: step s per period of p ms.
    void FadeToNextScreen(int s, int p);
    // Kind 1 (24, 40), 3 (5, 50), 4 (2, 50), any other (12, 40).
    void FadePreset(int kind);
    void SepiaFade();
    // nextScreen := sceneBuffer, with the message window on top.
    void ComposeScreenWithWindow();

    // Commands.
    void wipeset(std::string_view name);
    void fix();

    // Copies a whole picture onto the window and presents it.
    void show(const Picture& picture);

private:
    friend class Transitions;
    Engine& engine_;
};

} // namespace veskar
