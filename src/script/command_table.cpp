#include "script/command_table.h"

#include "core/sjis.h"

namespace veskar {

const std::array<CommandKeyword, kCommandCount> kCommandTable = {{
    {"gra ", 5, 0},       {"music ", 7, 0},   {"cv ", 4, 0},        {"go ", 4, 0},
    {"clrb", 6, 0},       {"select", 0, 1},   {"clickmap ", 10, 1}, {"switch", 8, 1},
    {"chain ", 7, 1},     {"wait_v_end", 0, 1}, {"spr ", 5, 0},     {"calc ", 6, 0},
    {"if ", 4, 1},        {"ptset ", 7, 0},   {"call ", 6, 1},      {"end", 0, 1},
    {"mode ", 6, 1},      {"load", 0, 1},     {"gameinit", 0, 0},   {"grb ", 5, 0},
    {"win_close", 0, 0},  {"special ", 9, 1}, {"gameclr", 0, 0},    {"partsload ", 11, 0},
    {"movie ", 7, 0},     {"mark ", 6, 0},    {"bg ", 4, 0},        {"fix", 0, 0},
    {"sleep ", 7, 1},     {"seltree", 9, 1},  {"string ", 8, 0},    {"direct ", 8, 0},
    {"save", 0, 1},       {"break", 0, 1},    {"win_open", 0, 0},   {"title ", 7, 0},
    {"backto", 0, 0},     {"map", 0, 1},      {"bg_anim", 9, 0},    {"roll ", 6, 1},
    {"anim", 6, 1},       {"shake", 7, 1},    {"cjmp", 6, 0},       {"setname", 0, 1},
    {"ovr", 5, 1},        {"viewer", 8, 1},   {"se ", 4, 0},        {"seloop ", 8, 0},
    {"seoff", 0, 0},      {"exitgame", 0, 1}, {"rec", 0, 0},        {"tw_set ", 8, 0},
    {"exit", 0, 1},       {"obj_", 5, 0},     {"sroll", 0, 1},      {"scroll ", 8, 1},
    {"kaisou", 0, 1},     {"chgprm", 0, 1},   {"cgfull", 0, 1},     {"effect", 8, 1},
    {"vend", 0, 1},       {"manpu ", 7, 0},   {"sprmv ", 7, 1},     {"efxanim ", 9, 1},
    {"wipeset ", 9, 1},
}};

std::optional<int> matchCommand(std::string_view line) {
    if (line.empty()) return std::nullopt;
    const std::string_view rest = line.substr(1);
    for (int i = 0; i < kCommandCount; ++i)
        if (startsWithIgnoreAsciiCase(rest, kCommandTable[static_cast<std::size_t>(i)].keyword)) return i;
    return std::nullopt;
}

int commandArgsAt(int index, std::string_view line) {
    if (index < 0 || index >= kCommandCount) return 0;
    if (index == kAnim && line.size() > 5 && (line[5] == 'q')) return 7;
    return kCommandTable[static_cast<std::size_t>(index)].argsAt;
}

} // namespace veskar
