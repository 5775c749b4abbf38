#pragma once
// Helpers shared by the test programs.

#include <string>
#include <vector>

#include "support/fixture_game.h"
#include "support/headless_rig.h"

namespace veskar::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell interpretation of them) and
// collects what it printed.
ProcessResult runProgram(const std::string& program, const std::vector<std::string>& args);

// The built vsktool.
inline ProcessResult runVsktool(const std::vector<std::string>& args) {
    return runProgram(VESKAR_VSKTOOL, args);
}

} // namespace veskar::test
