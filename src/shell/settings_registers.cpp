#include "shell/settings_registers.h"

#include "script/registers.h"

namespace veskar {

void copySettingsToRegisters(const Settings& settings, const GameDefinition& definition, Variables& vars) {
    const bool renamed =
        settings.PlayerName != definition.DEFAULT_NAME || settings.PlayerName2 != definition.DEFAULT_NAME2;
    vars.S(reg::kNamesChanged) = renamed ? 1 : 0;
    vars.S(reg::kDatePanel) = settings.DatePanel;
    vars.S(reg::kWindowStyle) = settings.TXWStyle;
}

} // namespace veskar
