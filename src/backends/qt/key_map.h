#pragma once
// Qt key events to the virtual-key codes the engine's key handlers expect.

#include <Qt>

namespace veskar {

// 0 for keys the engine has no code for (they are not delivered). Keypad
// digits get the numeric-pad codes (0x60 + digit), as Windows reports them.
int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace veskar
