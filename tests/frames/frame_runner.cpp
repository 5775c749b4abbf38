#include "frames/frame_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "backends/headless/png_writer.h"
#include "graphics/packed_picture.h"

namespace veskar::frames {

namespace fs = std::filesystem;

namespace {
const fs::path kReferenceDir = fs::path(VESKAR_SOURCE_DIR) / "tests/frames/reference";
} // namespace

std::vector<std::uint8_t> packed(const Picture& picture) { return *EncodePackedPicture(picture); }

void runAndCompare(const fs::path& gameDir, const std::vector<Shot>& shots, const RunOptions& options) {
    std::uint32_t until = 0;
    std::string command = std::string(VESKAR_EXE) + " --headless " + gameDir.string();
    for (const Shot& s : shots) {
        command += " --screenshot " + std::to_string(s.time) + ":" + (gameDir / (s.name + ".png")).string();
        until = std::max(until, s.time + 1);
    }
    if (!options.input.empty()) {
        std::ofstream(gameDir / "input.txt") << options.input;
        command += " --input " + (gameDir / "input.txt").string();
    }
    for (const std::string& arg : options.extraArgs)
        command += " " + arg;
    command += " --until " + std::to_string(until);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const bool update = std::getenv("VESKAR_UPDATE_REFERENCES") != nullptr;
    for (const Shot& s : shots) {
        const fs::path actual = gameDir / (s.name + ".png");
        const fs::path reference = kReferenceDir / (s.name + ".png");
        if (update) {
            fs::copy_file(actual, reference, fs::copy_options::overwrite_existing);
            continue;
        }
        auto got = readPng(actual);
        ASSERT_TRUE(got.has_value()) << s.name << ": " << got.error();
        auto want = readPng(reference);
        const fs::path keep = kReferenceDir / (s.name + ".actual.png");
        if (!want || !(*got == *want)) {
            fs::copy_file(actual, keep, fs::copy_options::overwrite_existing);
            ADD_FAILURE() << s.name
                          << " differs from its reference (or it is missing); actual frame written to "
                          << keep;
        } else {
            fs::remove(keep);
        }
    }
}

} // namespace veskar::frames
