#include "shell/settings_registers.h"

namespace veskar {

namespace {
constexpr int kNamesChanged = 6; // S006
constexpr int kDatePanel = 50;   // S050
constexpr int kWindowStyle = 51; // S051
} // namespace

void copySettingsToRegisters(const Settings& settings, const GameDefinition& definition, Variables& vars) {
    const bool renamed =
        settings.PlayerName != definition.DEFAULT_NAME || settings.PlayerName2 != definition.DEFAULT_NAME2;
    vars.S(kNamesChanged) = renamed ? 1 : 0;
    vars.S(kDatePanel) = settings.DatePanel;
    vars.S(kWindowStyle) = settings.TXWStyle;
}

} // namespace veskar
