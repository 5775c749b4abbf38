#pragma once
// The player's input: mouse, wheel and keys as the host delivers them, the
// tool-strip buttons, and the play modes they switch (skip and auto).

#include "platform/host.h"

namespace veskar {

class Engine;

enum class MouseButton { Left, Right, Middle };

class Input {
public:
    explicit Input(Engine& engine) : engine_(engine) {}

    void mouseDown(MouseButton button, Point position);
    void mouseUp(MouseButton button, Point position);
    void mouseMove(Point position);
    void wheel(int delta, Point position);
    void keyDown(int key);
    void keyUp(int key);

    // Tool-strip buttons: "終了", "読込", "記録", "設定".
    void toolQuit();
    void toolLoad();
    void toolSave();
    void toolConfig();

    // --- Play modes -----------------------------------------------------------
    // Ends skip and auto mode; unless `force`, only when the player asked for
    // that at choices (BreakonSelect).
    void StopSkipAndAuto(bool force);
    void StopSkip();
    // Which menu items and tool-strip buttons may be used now.
    void UpdateCommandAvailability();

private:
    Engine& engine_;
};

} // namespace veskar
