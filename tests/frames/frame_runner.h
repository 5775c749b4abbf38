#pragma once
// Running a generated game in the headless veskar and comparing the captured
// frames byte for byte with tests/frames/reference/NAME.png. A mismatch (or a
// missing reference) writes NAME.actual.png beside the reference;
// VESKAR_UPDATE_REFERENCES=1 rewrites the references instead.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/picture.h"

namespace veskar::frames {

// A picture as the archives store it.
std::vector<std::uint8_t> packed(const Picture& picture);

struct Shot {
    std::uint32_t time; // virtual milliseconds
    std::string name;   // reference file name without ".png"
};

struct RunOptions {
    std::string input;                  // the --input file's text; none when empty
    std::vector<std::string> extraArgs; // passed to veskar as they are
};

// Runs the game in `gameDir` until just after the last shot and compares
// every shot with its reference (failures are reported through gtest).
void runAndCompare(const std::filesystem::path& gameDir, const std::vector<Shot>& shots,
                   const RunOptions& options = {});

} // namespace veskar::frames
