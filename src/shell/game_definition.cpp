#include "shell/game_definition.h"

#include <functional>
#include <string>
#include <unordered_map>

#include "archive/script_loader.h"
#include "core/numbers.h"
#include "core/sjis.h"
#include "shell/definition_bounds.h"

namespace veskar {

namespace {

DefinitionError notAnInteger(std::string_view text) {
    return DefinitionError{"'" + std::string(text) + sjisText("' は整数ではありません")};
}

// One channel of a NAME colour: a hexadecimal digit d gives d * 16, G gives 255.
int colourChannel(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return (c - '0') * 16;
    if (c >= 'A' && c <= 'F') return (c - 'A' + 10) * 16;
    if (c == 'G') return 255;
    return 0;
}

Colour speakerColourOf(std::string_view field) {
    if (field.empty()) return makeColour(255, 255, 255);
    // Characters missing from a short field count as 0.
    const auto at = [&](std::size_t i) { return i < field.size() ? colourChannel(field[i]) : 0; };
    return makeColour(at(0), at(1), at(2));
}

using Handler = std::function<std::optional<DefinitionError>(GameDefinition&, std::string_view)>;

Handler integer(int GameDefinition::*field) {
    return [field](GameDefinition& d, std::string_view value) -> std::optional<DefinitionError> {
        const auto n = parseWholeInteger(value);
        if (!n) return notAnInteger(value);
        d.*field = *n;
        return std::nullopt;
    };
}

Handler archiveCount(int ShippedArchives::*field) {
    return [field](GameDefinition& d, std::string_view value) -> std::optional<DefinitionError> {
        const auto n = parseWholeInteger(value);
        if (!n) return notAnInteger(value);
        d.archives.*field = *n;
        return std::nullopt;
    };
}

Handler text(std::string GameDefinition::*field) {
    return [field](GameDefinition& d, std::string_view value) -> std::optional<DefinitionError> {
        d.*field = std::string(value);
        return std::nullopt;
    };
}

// Reads `count` comma fields as integers into `out`.
std::optional<DefinitionError> integerFields(std::string_view value, int count, int* out) {
    for (int i = 0; i < count; ++i) {
        const std::string_view field = FieldOf(value, i);
        const auto n = parseWholeInteger(field);
        if (!n) return notAnInteger(field);
        out[i] = *n;
    }
    return std::nullopt;
}

Handler rectangle(Rect4 GameDefinition::*field) {
    return
        [field](GameDefinition& d, std::string_view value) { return integerFields(value, 4, (d.*field).v); };
}

std::optional<DefinitionError> readSpeaker(GameDefinition& d, std::string_view value) {
    const std::string_view numberField = FieldOf(value, 0);
    const auto n = parseWholeInteger(numberField);
    if (!n) return notAnInteger(numberField);
    if (*n < 0 || *n >= GameDefinition::kSpeakerEntries) {
        d.notes.push_back("_config: NAME entry " + std::to_string(*n) + " is outside 0-" +
                          std::to_string(GameDefinition::kSpeakerEntries - 1) + "; line ignored");
        return std::nullopt;
    }
    SpeakerColour& entry = d.NAME[static_cast<std::size_t>(*n)];
    entry.defined = true;
    entry.speaker = std::string(FieldOf(value, 1));
    entry.colour = speakerColourOf(FieldOf(value, 2));
    return std::nullopt;
}

const std::unordered_map<std::string, Handler>& keyTable() {
    using D = GameDefinition;
    static const std::unordered_map<std::string, Handler> table = {
        {"TITLE", text(&D::TITLE)},
        {"MAKER", text(&D::MAKER)},
        {"MAKER_REG", text(&D::MAKER_REG)},
        {"GAME_ID", text(&D::GAME_ID)},
        {"DEFAULT_NAME", text(&D::DEFAULT_NAME)},
        {"DEFAULT_NAME2", text(&D::DEFAULT_NAME2)},
        {"DEFAULT_NAME3", text(&D::DEFAULT_NAME3)},
        {"DEFAULT_NAME4", text(&D::DEFAULT_NAME4)},
        {"TXW_OFS_X", integer(&D::TXW_OFS_X)},
        {"TXW_OFS_Y", integer(&D::TXW_OFS_Y)},
        {"TXW_SIZE_X", integer(&D::TXW_SIZE_X)},
        {"TXW_SIZE_Y", integer(&D::TXW_SIZE_Y)},
        {"TXW_COLOR_R", integer(&D::TXW_COLOR_R)},
        {"TXW_COLOR_G", integer(&D::TXW_COLOR_G)},
        {"TXW_COLOR_B", integer(&D::TXW_COLOR_B)},
        {"TXW_ALPHA", integer(&D::TXW_ALPHA)},
        {"TXW_ALPHA2", integer(&D::TXW_ALPHA2)},
        {"FONT_NAME", text(&D::FONT_NAME)},
        {"FONT_SIZE", integer(&D::FONT_SIZE)},
        {"SELECT_Y_POS", integer(&D::SELECT_Y_POS)},
        {"SELECT_Y_PITCH", integer(&D::SELECT_Y_PITCH)},
        {"SELECT_EXPAND", integer(&D::SELECT_EXPAND)},
        {"CLICK_WAIT_OFS_X", integer(&D::CLICK_WAIT_OFS_X)},
        {"CLICK_WAIT_OFS_Y", integer(&D::CLICK_WAIT_OFS_Y)},
        {"CLICK_WAIT_SIZE_X", integer(&D::CLICK_WAIT_SIZE_X)},
        {"CLICK_WAIT_SIZE_Y", integer(&D::CLICK_WAIT_SIZE_Y)},
        {"CLICK_WAIT_PAT", integer(&D::CLICK_WAIT_PAT)},
        {"CLICK_WAIT_TIMING", integer(&D::CLICK_WAIT_TIMING)},
        {"NP_OFS_X", integer(&D::NP_OFS_X)},
        {"NP_OFS_Y", integer(&D::NP_OFS_Y)},
        {"NP_SZ_X", integer(&D::NP_SZ_X)},
        {"NP_SZ_Y", integer(&D::NP_SZ_Y)},
        {"TX_OFS_X", integer(&D::TX_OFS_X)},
        {"TX_OFS_Y", integer(&D::TX_OFS_Y)},
        {"TX_PITCH_X", integer(&D::TX_PITCH_X)},
        {"TX_PITCH_Y", integer(&D::TX_PITCH_Y)},
        {"MOJI_MAX_X", integer(&D::MOJI_MAX_X)},
        {"MOJI_MAX_Y", integer(&D::MOJI_MAX_Y)},
        {"TX2_OFS_X", integer(&D::TX2_OFS_X)},
        {"TX2_OFS_Y", integer(&D::TX2_OFS_Y)},
        {"TX2_PITCH_X", integer(&D::TX2_PITCH_X)},
        {"TX2_PITCH_Y", integer(&D::TX2_PITCH_Y)},
        {"MOJI_MAX2_X", integer(&D::MOJI_MAX2_X)},
        {"MOJI_MAX2_Y", integer(&D::MOJI_MAX2_Y)},
        {"VKD_GRA", archiveCount(&ShippedArchives::VKD_GRA)},
        {"VKD_GJP", archiveCount(&ShippedArchives::VKD_GJP)},
        {"VKD_GDT", integer(&D::VKD_GDT)},
        {"VKD_WAV", archiveCount(&ShippedArchives::VKD_WAV)},
        {"VKD_OGG", archiveCount(&ShippedArchives::VKD_OGG)},
        {"VKD_SE", archiveCount(&ShippedArchives::VKD_SE)},
        {"VKD_ANIM", archiveCount(&ShippedArchives::VKD_ANIM)},
        {"VOLUME1", integer(&D::VOLUME1)},
        {"VOLUME2", integer(&D::VOLUME2)},
        {"VOLUME3", integer(&D::VOLUME3)},
        {"VOLUME4", integer(&D::VOLUME4)},
        {"TACHI_TYPE", integer(&D::TACHI_TYPE)},
        {"CFG_GRA",
         [](D& d, std::string_view v) -> std::optional<DefinitionError> {
             d.CFG_GRA[0] = std::string(FieldOf(v, 0));
             d.CFG_GRA[1] = std::string(FieldOf(v, 1));
             return std::nullopt;
         }},
        {"CFG_WM_WIN", rectangle(&D::CFG_WM_WIN)},
        {"CFG_WM_FULL", rectangle(&D::CFG_WM_FULL)},
        {"CFG_GM_NORMAL", rectangle(&D::CFG_GM_NORMAL)},
        {"CFG_GM_FAST", rectangle(&D::CFG_GM_FAST)},
        {"CFG_TM_NORMAL", rectangle(&D::CFG_TM_NORMAL)},
        {"CFG_TM_FAST", rectangle(&D::CFG_TM_FAST)},
        {"CFG_MS_STOP", rectangle(&D::CFG_MS_STOP)},
        {"CFG_MS_NONE", rectangle(&D::CFG_MS_NONE)},
        {"CFG_CLOSE", rectangle(&D::CFG_CLOSE)},
        {"CFG_DETAIL", rectangle(&D::CFG_DETAIL)},
        {"CFG_VOL_CVTEST", rectangle(&D::CFG_VOL_CVTEST)},
        {"CFG_VOL_DEFAULT", rectangle(&D::CFG_VOL_DEFAULT)},
        {"CFG_VOL_BAR", [](D& d, std::string_view v) { return integerFields(v, 2, d.CFG_VOL_BAR); }},
        {"CFG_VOL_KNOB", text(&D::CFG_VOL_KNOB)},
        {"CFG_VOL1", [](D& d, std::string_view v) { return integerFields(v, 2, d.CFG_VOL[0]); }},
        {"CFG_VOL2", [](D& d, std::string_view v) { return integerFields(v, 2, d.CFG_VOL[1]); }},
        {"CFG_VOL3", [](D& d, std::string_view v) { return integerFields(v, 2, d.CFG_VOL[2]); }},
        {"CFG_VOL4", [](D& d, std::string_view v) { return integerFields(v, 2, d.CFG_VOL[3]); }},
        {"NAME", readSpeaker},
    };
    return table;
}

} // namespace

bool isGameDefinitionKey(std::string_view key) { return keyTable().contains(upperAscii(key)); }

Colour GameDefinition::speakerColour(std::string_view speaker) const {
    for (int i = 1; i < kSpeakerEntries; ++i) {
        const SpeakerColour& entry = NAME[static_cast<std::size_t>(i)];
        if (entry.defined && entry.speaker == speaker) return entry.colour;
    }
    return makeColour(255, 255, 255);
}

std::expected<GameDefinition, DefinitionError> parseGameDefinition(std::string_view decoded) {
    GameDefinition definition;
    std::size_t pos = 0;
    while (pos < decoded.size()) {
        std::size_t end = decoded.find('\0', pos);
        if (end == std::string_view::npos) end = decoded.size();
        const std::string_view line = decoded.substr(pos, end - pos);
        pos = end + 1;
        if (line == "END") break;
        if (line.empty() || line[0] == ';' || line[0] == '*') continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const auto handler = keyTable().find(upperAscii(line.substr(0, colon)));
        if (handler == keyTable().end()) continue;
        if (auto error = handler->second(definition, line.substr(colon + 1))) return std::unexpected(*error);
    }
    boundDefinitionGeometry(definition);
    return definition;
}

} // namespace veskar
