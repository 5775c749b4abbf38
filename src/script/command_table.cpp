#include "script/command_table.h"

#include "core/sjis.h"
#include "script/commands.h"

namespace veskar {

namespace {
constexpr Flow kGoOn = Flow::GoOn;
constexpr Flow kEnd = Flow::EndStep;
using C = Commands;
} // namespace

const std::array<CommandRow, kCommandCount> kCommandTable = {{
    {"gra ", 5, kGoOn, &C::gra},
    {"music ", 7, kGoOn, &C::music},
    {"cv ", 4, kGoOn, &C::cv},
    {"go ", 4, kGoOn, &C::go},
    {"clrb", 6, kGoOn, &C::clrb},
    {"select", 0, kEnd, &C::select},
    {"clickmap ", 10, kEnd, &C::pendingScreen},
    {"switch", 8, kEnd, &C::runSwitch},
    {"chain ", 7, kEnd, &C::chain},
    {"wait_v_end", 0, kEnd, &C::waitVoiceEnd},
    {"spr ", 5, kGoOn, &C::spr},
    {"calc ", 6, kGoOn, &C::calc},
    {"if ", 4, kEnd, &C::runIf},
    {"ptset ", 7, kGoOn, &C::ptset},
    {"call ", 6, kEnd, &C::call},
    {"end", 0, kEnd, &C::end},
    {"mode ", 6, kEnd, &C::mode},
    {"load", 0, kEnd, &C::pendingScreen},
    {"gameinit", 0, kGoOn, &C::gameinit},
    {"grb ", 5, kGoOn, &C::grb},
    {"win_close", 0, kGoOn, &C::winClose},
    {"special ", 9, kEnd, &C::accepted},
    {"gameclr", 0, kGoOn, &C::gameclr},
    {"partsload ", 11, kGoOn, &C::partsload},
    {"movie ", 7, kGoOn, &C::movie},
    {"mark ", 6, kGoOn, &C::mark},
    {"bg ", 4, kGoOn, &C::bg},
    {"fix", 0, kGoOn, &C::fix},
    {"sleep ", 7, kEnd, &C::sleep},
    {"seltree", 9, kEnd, &C::pendingScreen},
    {"string ", 8, kGoOn, &C::string},
    {"direct ", 8, kGoOn, &C::direct},
    {"save", 0, kEnd, &C::pendingScreen},
    {"break", 0, kEnd, &C::breakSkip},
    {"win_open", 0, kGoOn, &C::winOpen},
    {"title ", 7, kGoOn, &C::title},
    {"backto", 0, kGoOn, &C::backto},
    {"map", 0, kEnd, &C::accepted},
    {"bg_anim", 9, kGoOn, &C::accepted},
    {"roll ", 6, kEnd, &C::pendingExtra},
    {"anim", 6, kEnd, &C::accepted},
    {"shake", 7, kEnd, &C::shake},
    {"cjmp", 6, kGoOn, &C::runCjmp},
    {"setname", 0, kEnd, &C::setname},
    {"ovr", 5, kEnd, &C::ovr},
    {"viewer", 8, kEnd, &C::pendingExtra},
    {"se ", 4, kGoOn, &C::se},
    {"seloop ", 8, kGoOn, &C::seloop},
    {"seoff", 0, kGoOn, &C::seoff},
    {"exitgame", 0, kEnd, &C::exitgame},
    {"rec", 0, kGoOn, &C::rec},
    {"tw_set ", 8, kGoOn, &C::twSet},
    {"exit", 0, kEnd, &C::endReplay},
    {"obj_", 5, kGoOn, &C::accepted},
    {"sroll", 0, kEnd, &C::accepted},
    {"scroll ", 8, kEnd, &C::accepted},
    {"kaisou", 0, kEnd, &C::accepted},
    {"chgprm", 0, kEnd, &C::accepted},
    {"cgfull", 0, kEnd, &C::cgfull},
    {"effect", 8, kEnd, &C::accepted},
    {"vend", 0, kEnd, &C::endReplay},
    {"manpu ", 7, kGoOn, &C::accepted},
    {"sprmv ", 7, kEnd, &C::accepted},
    {"efxanim ", 9, kEnd, &C::accepted},
    {"wipeset ", 9, kEnd, &C::wipeset},
}};

std::optional<int> matchCommand(std::string_view line) {
    if (line.empty()) return std::nullopt;
    const std::string_view rest = line.substr(1);
    for (int i = 0; i < kCommandCount; ++i)
        if (startsWithIgnoreAsciiCase(rest, kCommandTable[static_cast<std::size_t>(i)].keyword)) return i;
    return std::nullopt;
}

std::optional<int> commandNumber(std::string_view keyword) {
    for (int i = 0; i < kCommandCount; ++i)
        if (kCommandTable[static_cast<std::size_t>(i)].keyword == keyword) return i;
    return std::nullopt;
}

int commandArgsAt(int index, std::string_view line) {
    if (index < 0 || index >= kCommandCount) return 0;
    const CommandRow& row = kCommandTable[static_cast<std::size_t>(index)];
    if (row.keyword == "anim" && line.size() > 5 && line[5] == 'q') return row.argsAt + 1;
    return row.argsAt;
}

std::string_view commandArgs(int index, std::string_view line) {
    const auto at = static_cast<std::size_t>(commandArgsAt(index, line));
    return at < line.size() ? line.substr(at) : std::string_view{};
}

} // namespace veskar
