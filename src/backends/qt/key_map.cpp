#include "backends/qt/key_map.h"

#include <array>
#include <utility>

#include "platform/keys.h"

namespace veskar {

namespace {
constexpr int kNumpad0 = 0x60;
constexpr int kAlt = 18, kPause = 19, kCapsLock = 20, kInsert = 45;

constexpr std::array<std::pair<int, int>, 22> kNamedKeys{{
    {Qt::Key_Backspace, keys::Backspace},
    {Qt::Key_Tab, keys::Tab},
    {Qt::Key_Backtab, keys::Tab},
    {Qt::Key_Return, keys::Return},
    {Qt::Key_Enter, keys::Return},
    {Qt::Key_Shift, keys::Shift},
    {Qt::Key_Control, keys::Control},
    {Qt::Key_Alt, kAlt},
    {Qt::Key_Pause, kPause},
    {Qt::Key_CapsLock, kCapsLock},
    {Qt::Key_Escape, keys::Escape},
    {Qt::Key_Space, keys::Space},
    {Qt::Key_PageUp, keys::PageUp},
    {Qt::Key_PageDown, keys::PageDown},
    {Qt::Key_End, keys::End},
    {Qt::Key_Home, keys::Home},
    {Qt::Key_Left, keys::Left},
    {Qt::Key_Up, keys::Up},
    {Qt::Key_Right, keys::Right},
    {Qt::Key_Down, keys::Down},
    {Qt::Key_Insert, kInsert},
    {Qt::Key_Delete, keys::Delete},
}};
} // namespace

int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? kNumpad0 + (qtKey - Qt::Key_0) : qtKey;
    // Qt's codes for letters are the capitals, as the virtual keys are.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return keys::F1 + (qtKey - Qt::Key_F1);
    for (const auto& [qt, vk] : kNamedKeys)
        if (qt == qtKey) return vk;
    return 0;
}

} // namespace veskar
