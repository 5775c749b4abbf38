#include "shell/definition_bounds.h"

#include <string>

#include "core/bounded_numbers.h"
#include "graphics/pictures.h"
#include "shell/game_definition.h"

namespace veskar {

namespace {

void keepSize(GameDefinition& d, int& field, int limit, const char* key) {
    std::string note;
    field = definitionSize(field, limit, key, &note);
    if (!note.empty()) d.notes.push_back(std::move(note));
}

void keepPosition(GameDefinition& d, int& field, const char* key) {
    const int kept = clampCoordinate(field);
    if (kept == field) return;
    d.notes.push_back("_config: " + std::string(key) + " " + std::to_string(field) + " is beyond ±" +
                      std::to_string(kCoordinateLimit) + "; " + std::to_string(kept) + " used");
    field = kept;
}

} // namespace

void boundDefinitionGeometry(GameDefinition& d) {
    // The window, the name plate and the click-wait icon each get pictures of these sizes.
    keepSize(d, d.TXW_SIZE_X, kScreenWidth, "TXW_SIZE_X");
    keepSize(d, d.TXW_SIZE_Y, kScreenHeight, "TXW_SIZE_Y");
    keepSize(d, d.NP_SZ_X, kScreenWidth, "NP_SZ_X");
    keepSize(d, d.NP_SZ_Y, kScreenHeight, "NP_SZ_Y");
    keepSize(d, d.CLICK_WAIT_SIZE_X, kScreenWidth, "CLICK_WAIT_SIZE_X");
    keepSize(d, d.CLICK_WAIT_SIZE_Y, kScreenHeight, "CLICK_WAIT_SIZE_Y");

    const struct {
        int GameDefinition::*field;
        const char* key;
    } positions[] = {
        {&GameDefinition::TXW_OFS_X, "TXW_OFS_X"},
        {&GameDefinition::TXW_OFS_Y, "TXW_OFS_Y"},
        {&GameDefinition::NP_OFS_X, "NP_OFS_X"},
        {&GameDefinition::NP_OFS_Y, "NP_OFS_Y"},
        {&GameDefinition::CLICK_WAIT_OFS_X, "CLICK_WAIT_OFS_X"},
        {&GameDefinition::CLICK_WAIT_OFS_Y, "CLICK_WAIT_OFS_Y"},
        {&GameDefinition::TX_OFS_X, "TX_OFS_X"},
        {&GameDefinition::TX_OFS_Y, "TX_OFS_Y"},
        {&GameDefinition::TX_PITCH_X, "TX_PITCH_X"},
        {&GameDefinition::TX_PITCH_Y, "TX_PITCH_Y"},
        {&GameDefinition::TX2_OFS_X, "TX2_OFS_X"},
        {&GameDefinition::TX2_OFS_Y, "TX2_OFS_Y"},
        {&GameDefinition::TX2_PITCH_X, "TX2_PITCH_X"},
        {&GameDefinition::TX2_PITCH_Y, "TX2_PITCH_Y"},
        {&GameDefinition::SELECT_Y_POS, "SELECT_Y_POS"},
        {&GameDefinition::SELECT_Y_PITCH, "SELECT_Y_PITCH"},
    };
    for (const auto& p : positions)
        keepPosition(d, d.*p.field, p.key);
}

} // namespace veskar
