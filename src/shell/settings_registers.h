#pragma once
// The registers scripts read the player's settings from. They are set after
// start-up has cleared the variable banks, so that clearing cannot undo them.

#include "script/variables.h"
#include "shell/game_definition.h"
#include "shell/settings.h"

namespace veskar {

// S006 = 1 when either player name differs from the game's default name,
// S050 = DatePanel, S051 = TXWStyle.
void copySettingsToRegisters(const Settings& settings, const GameDefinition& definition, Variables& vars);

} // namespace veskar
