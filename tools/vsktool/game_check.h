#pragma once
// The checks `vsktool build` makes before it writes a game: the mistakes the
// engine would meet only while the game runs (or never say), found at build
// time with the file, line and column they are on.

#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vsktool {

struct Finding {
    std::filesystem::path file;
    std::size_t line = 0;   // from 1; 0 when the finding is about the whole file
    std::size_t column = 0; // from 1, in characters
    bool error = true;      // false: a warning
    std::string message;    // English, UTF-8
};

// "FILE:LINE:COLUMN: error: MESSAGE" (or "FILE: warning: MESSAGE").
std::string formatFinding(const Finding& finding);

// What the build found in the source tree.
struct GameSources {
    struct Script {
        std::filesystem::path file;
        std::string name; // entry name, CP932, upper-cased
        std::string text; // UTF-8 as written
    };
    std::filesystem::path dataFolder; // vk_data/ (where main.txt belongs)
    std::vector<Script> scripts;      // vk_data's first, then vk_data2's (which win)
    // Entry names, CP932, upper-cased.
    std::set<std::string> pictures, sounds, animations;
    std::map<std::string, std::filesystem::path> pictureFiles; // by entry name
    // Width and height of the pictures converted from PNG or BMP, by entry name.
    std::map<std::string, std::pair<int, int>> pictureSizes;
};

std::vector<Finding> checkGame(const GameSources& sources);

} // namespace vsktool
