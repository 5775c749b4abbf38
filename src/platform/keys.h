#pragma once
// Key codes the engine's key handlers receive: the virtual-key numbers games
// have always been written against, whatever the platform.

namespace veskar::keys {

constexpr int Backspace = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Escape = 27, Space = 32;
constexpr int PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Delete = 46;
constexpr int F1 = 112; // F1 ... F12 are F1 + 0 ... F1 + 11
// Digits and capital letters are their ASCII codes.

} // namespace veskar::keys
