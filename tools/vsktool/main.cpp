// vsktool: builds and inspects the files of a Veskar game.
//
// Each command is one line of the table below; its code lives in a file of
// its own (archive_commands.cpp, script_commands.cpp, build_command.cpp,
// pic_commands.cpp).

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "tool_support.h"

namespace vsktool {
namespace {

constexpr Command kCommands[] = {
    {"pack", "pack files into an archive", runPack},
    {"list", "list the entries of an archive", runList},
    {"extract", "copy entries out of an archive", runExtract},
    {"script", "encode a UTF-8 script into its stored form, or decode it back", runScript},
    {"new", "write a small complete game source tree to start from", runNew},
    {"build", "build a game folder from a source tree", runBuild},
    {"pic", "encode a PNG or BMP into a packed picture or a JPEG, or decode one to PNG", runPic},
    {"sound", "encode a WAV into a WADY sound (one-shot or stream), or decode one to WAV", runSound},
};

void printOverview(std::ostream& out) {
    out << "Usage: vsktool COMMAND [ARGUMENTS...]\n"
           "       vsktool COMMAND --help\n"
           "\n"
           "Builds and inspects the archives of a Veskar game.\n"
           "\n"
           "Commands:\n";
    for (const auto& command : kCommands) {
        std::string name(command.name);
        name.resize(10, ' ');
        out << "  " << name << command.summary << "\n";
    }
    out << "\nExit codes: 0 done, 1 failed, 2 wrong usage.\n";
}

} // namespace
} // namespace vsktool

int main(int argc, char** argv) {
    using namespace vsktool;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printOverview(std::cerr);
        return kUsageError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printOverview(std::cout);
        return kOk;
    }
    for (const auto& command : kCommands)
        if (args[0] == command.name) return command.run(Args(args).subspan(1));
    std::cerr << "vsktool: unknown command '" << args[0] << "'\n";
    printOverview(std::cerr);
    return kUsageError;
}
