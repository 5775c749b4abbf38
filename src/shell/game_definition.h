#pragma once
// The game definition `_config`: what makes a game itself (title, settings
// location, text-window layout, archive counts, default volumes, speakers).

#include <array>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archives.h"
#include "core/picture.h"

namespace veskar {

struct Rect4 {
    int v[4] = {0, 0, 0, 0};
};

struct SpeakerColour {
    bool defined = false;
    std::string speaker; // Shift-JIS, compared byte for byte
    Colour colour = makeColour(255, 255, 255);
};

struct GameDefinition {
    static constexpr int kSpeakerEntries = 60;

    // Lines the reader ignored, with why; whoever reads the definition says them once.
    std::vector<std::string> notes;

    std::string TITLE, MAKER, MAKER_REG, GAME_ID;
    std::string DEFAULT_NAME, DEFAULT_NAME2, DEFAULT_NAME3, DEFAULT_NAME4;
    int TXW_OFS_X = 0, TXW_OFS_Y = 0, TXW_SIZE_X = 0, TXW_SIZE_Y = 0;
    int TXW_COLOR_R = 0, TXW_COLOR_G = 0, TXW_COLOR_B = 0, TXW_ALPHA = 0, TXW_ALPHA2 = 0;
    std::string FONT_NAME;
    int FONT_SIZE = 0;
    int SELECT_Y_POS = 0, SELECT_Y_PITCH = 0, SELECT_EXPAND = 0;
    int CLICK_WAIT_OFS_X = 0, CLICK_WAIT_OFS_Y = 0, CLICK_WAIT_SIZE_X = 0, CLICK_WAIT_SIZE_Y = 0;
    int CLICK_WAIT_PAT = 0, CLICK_WAIT_TIMING = 0;
    int NP_OFS_X = 0, NP_OFS_Y = 0, NP_SZ_X = 0, NP_SZ_Y = 0;
    int TX_OFS_X = 0, TX_OFS_Y = 0, TX_PITCH_X = 0, TX_PITCH_Y = 0, MOJI_MAX_X = 0, MOJI_MAX_Y = 0;
    int TX2_OFS_X = 0, TX2_OFS_Y = 0, TX2_PITCH_X = 0, TX2_PITCH_Y = 0, MOJI_MAX2_X = 0, MOJI_MAX2_Y = 0;
    ShippedArchives archives; // VKD_GRA, VKD_GJP, VKD_WAV, VKD_SE, VKD_OGG, VKD_ANIM
    int VKD_GDT = 0;
    int VOLUME1 = 0, VOLUME2 = 0, VOLUME3 = 0, VOLUME4 = 0;
    int TACHI_TYPE = 0;
    std::string CFG_GRA[2];
    Rect4 CFG_WM_WIN, CFG_WM_FULL, CFG_GM_NORMAL, CFG_GM_FAST, CFG_TM_NORMAL, CFG_TM_FAST, CFG_MS_STOP,
        CFG_MS_NONE, CFG_CLOSE, CFG_DETAIL, CFG_VOL_CVTEST, CFG_VOL_DEFAULT;
    int CFG_VOL_BAR[2] = {0, 0};
    std::string CFG_VOL_KNOB;
    int CFG_VOL[4][2] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}}; // CFG_VOL1 ... CFG_VOL4
    std::array<SpeakerColour, kSpeakerEntries> NAME;

    // Colour of a speaker's lines: the first defined entry 1-59 whose name
    // matches, else white.
    Colour speakerColour(std::string_view speaker) const;
};

// Why a definition could not be read: the text to show the player (Shift-JIS,
// "'%s' は整数ではありません" with the offending text).
struct DefinitionError {
    std::string message;
};

// Parses the decoded `_config` text (NUL-separated Shift-JIS lines) from its
// first line until END or the end. Lines it rejects without stopping (a NAME
// number outside 0-59) are reported on stderr.
std::expected<GameDefinition, DefinitionError> parseGameDefinition(std::string_view decoded);

// Whether the reader knows the key (letter case ignored).
bool isGameDefinitionKey(std::string_view key);

} // namespace veskar
