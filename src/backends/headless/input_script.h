#pragma once
// The timed events of a headless run, read from an --input file.
//
//   # a comment
//   500 click left 400 300      press and release a button at a position
//   500 press right 10 20       press only; `release` lets go
//   600 move 120 80             move the pointer
//   700 key down Ctrl           keys: a letter or digit, or Ctrl, Shift, Return,
//   900 key up Ctrl             Space, Escape, Backspace, Tab, Delete, Up, Down,
//                               Left, Right, PageUp, PageDown, Home, End, F1-F12
//   800 wheel -120 400 300      wheel turned (negative: towards the player)
//   1000 close                  the player closes the window
//   answer cancel               the next message box or dialog is answered so
//                               (ok, cancel, yes, no); answers are used in order

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

struct InputEvent {
    enum class Kind { Press, Release, Move, KeyDown, KeyUp, Wheel, Close };
    std::uint32_t time = 0;
    Kind kind = Kind::Move;
    MouseButton button = MouseButton::Left;
    Point position;
    int key = 0;
    int delta = 0;
};

struct InputScript {
    std::vector<InputEvent> events; // sorted by time, file order kept for equal times
    std::vector<MessageAnswer> answers;
};

// Errors name the line: "line 3: unknown event 'clack'".
std::expected<InputScript, std::string> parseInputScript(std::string_view text);

} // namespace veskar
