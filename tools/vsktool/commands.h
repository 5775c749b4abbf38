#pragma once
// The commands of vsktool. Each command group lives in its own file and is
// listed once in the table of main.cpp.

#include <span>
#include <string>
#include <string_view>

namespace vsktool {

// Exit codes of every command.
enum ExitCode : int { kOk = 0, kFailure = 1, kUsageError = 2 };

// The arguments after the command's name.
using Args = std::span<const std::string>;

struct Command {
    std::string_view name;
    std::string_view summary; // one line in `vsktool --help`
    int (*run)(Args args);
};

// archive_commands.cpp
int runPack(Args args);
int runList(Args args);
int runExtract(Args args);
// script_commands.cpp
int runScript(Args args);
// build_command.cpp
int runBuild(Args args);
// pic_commands.cpp
int runPic(Args args);
// sound_commands.cpp
int runSound(Args args);
// new_command.cpp
int runNew(Args args);

} // namespace vsktool
