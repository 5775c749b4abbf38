#pragma once
// The command keywords, in the order lines are matched against them.

#include <array>
#include <optional>
#include <string_view>

namespace veskar {

struct CommandKeyword {
    std::string_view keyword; // a trailing blank is part of the keyword
    int argsAt;               // byte offset of the arguments from the line start; 0 none
    int result;               // result when the command is accepted without effect
};

constexpr int kCommandCount = 65;
extern const std::array<CommandKeyword, kCommandCount> kCommandTable;

// Named indexes of the commands the dispatcher handles itself.
enum Command : int {
    kGra = 0, kMusic, kCv, kGo, kClrb, kSelect, kClickmap, kSwitch, kChain, kWaitVEnd,
    kSpr = 10, kCalc, kIf, kPtset, kCall, kEnd, kMode, kLoad, kGameinit, kGrb,
    kWinClose = 20, kSpecial, kGameclr, kPartsload, kMovie, kMark, kBg, kFix, kSleep, kSeltree,
    kString = 30, kDirect, kSave, kBreak, kWinOpen, kTitle, kBackto, kMap, kBgAnim, kRoll,
    kAnim = 40, kShake, kCjmp, kSetname, kOvr, kViewer, kSe, kSeloop, kSeoff, kExitgame,
    kRec = 50, kTwSet, kExit, kObj, kSroll, kScroll, kKaisou, kChgprm, kCgfull, kEffect,
    kVend = 60, kManpu, kSprmv, kEfxanim, kWipeset,
};

// The first keyword that the text after the line's first byte starts with
// (letter case ignored), or nothing.
std::optional<int> matchCommand(std::string_view line);

// Offset of the arguments of command `index` on `line` (the "q" form of
// `anim` takes them two bytes later).
int commandArgsAt(int index, std::string_view line);

} // namespace veskar
