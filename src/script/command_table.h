#pragma once
// The command set: one row per command, in the order lines are matched against
// the keywords. A row's position is the command's number in the trace.

#include <array>
#include <optional>
#include <string_view>

#include "script/flow.h"

namespace veskar {

class Commands;
struct CommandRow;

// What a handler gets: the whole line, its arguments (from the row's offset)
// and the row itself.
struct CommandCall {
    std::string_view line;
    std::string_view args;
    const CommandRow& row;
};

using CommandHandler = Flow (Commands::*)(const CommandCall&);

struct CommandRow {
    std::string_view keyword; // a trailing blank is part of the keyword
    int argsAt;               // byte offset of the arguments from the line start; 0 none
    Flow result;              // the result when the command is accepted without effect
    CommandHandler handler;
};

constexpr int kCommandCount = 65;
extern const std::array<CommandRow, kCommandCount> kCommandTable;

// The first row whose keyword the text after the line's first byte starts
// with (letter case ignored), or nothing.
std::optional<int> matchCommand(std::string_view line);

// The row of the command spelled `keyword` exactly (for tests and tools).
std::optional<int> commandNumber(std::string_view keyword);

// Offset of the arguments of command `index` on `line` (the "q" form of
// `anim` takes them two bytes later).
int commandArgsAt(int index, std::string_view line);

// The argument text of command `index` on `line` (empty when the line is shorter).
std::string_view commandArgs(int index, std::string_view line);

} // namespace veskar
