#pragma once
// The player's settings, read at start-up from the game's own section of the
// settings store and written the moment they change.

#include <string>
#include <string_view>

#include "shell/game_definition.h"

namespace veskar {

class SettingsStore;

struct Settings {
    std::string CDDir = "NULL";
    int Left = 0, Top = 0;
    bool hasStoredPosition = false; // Left and Top both stored; else centre the window
    int BGM_ENA = 1, SE_ENA = 1, Delay = 0, GMode = 0, SMode = 0, Clear = 0, Seen = 1, BreakonSelect = 1;
    int MemorySaveMode = 0;
    std::string FontName;
    int DirectSoundGlobal = 0, AnimQuality = 0, RC_MODE = 0, WHEEL_MODE = 0, CS_SWAP = 0, EFX_CUT = 1;
    int CONFIG_MODE = 0, DatePanel = 1, TXWStyle = 1, CV_THROUGH = 0, CV1 = 1, CV2 = 1;
    int SE[5] = {1, 1, 1, 1, 1};     // SE0 ... SE4
    int SE_LVL[5] = {0, 0, 0, 0, 0}; // SE_LVL0 ... SE_LVL4
    int Vol[4] = {0, 0, 0, 0};       // Vol1 ... Vol4
    int FONTAA = 0, FONTSIZE = 19, FONTBold = 0;
    std::string PlayerName, PlayerName2;
    int GV[10] = {}; // GV00 ... GV09
    int TXBG_R = 0, TXBG_G = 0, TXBG_B = 0, TXBG_A = 0, TXBG_A2 = 0;
};

// Reads and writes the settings of one game: the section the definition names.
class SettingsSection {
public:
    SettingsSection(SettingsStore& store, std::string keyPath, std::string section)
        : store_(store), keyPath_(std::move(keyPath)), section_(std::move(section)) {}

    // A missing value, or a number whose text is not a decimal integer, gives
    // the default.
    int readInt(std::string_view name, int fallback);
    std::string readText(std::string_view name, std::string_view fallback);
    // Whether a readable number is stored under the name.
    bool has(std::string_view name);
    void WriteSetting(std::string_view name, std::string_view value);
    void WriteSetting(std::string_view name, int value);

private:
    SettingsStore& store_;
    std::string keyPath_;
    std::string section_;
};

// Every value in the documented order, with the definition's defaults.
// `screenWidth` decides the SMode adjustment (0 becomes 2 on narrow screens).
Settings ReadSettings(SettingsSection& section, const GameDefinition& definition, int screenWidth);

// The clear counter that `gameclr` keeps at a fixed location, whatever game runs.
constexpr std::string_view kClearCounterKeyPath = "Software\\Brinmark";
constexpr std::string_view kClearCounterSection = "pell";

// Counts one more cleared game at that fixed location; returns the new count.
int incrementClearCounter(SettingsStore& store);

} // namespace veskar
