#pragma once
// A tiny game folder for the targets that play scripts: a few small pictures
// written once, scripts written for each input, played on the headless host
// for a bounded virtual time with the diagnostics thrown away.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace veskar::fuzz {

class FuzzGame {
public:
    FuzzGame();
    ~FuzzGame();
    FuzzGame(const FuzzGame&) = delete;
    FuzzGame& operator=(const FuzzGame&) = delete;

    // Writes the scripts (decoded Shift-JIS text, NUL or LF ending each line;
    // `config` and `sprset` left out when empty) and plays main for at most
    // `virtualMs`.
    void play(std::string_view main, std::string_view config, std::string_view sprset,
              std::uint32_t virtualMs);

private:
    std::filesystem::path dir_;
};

// One game folder for the whole process.
FuzzGame& fuzzGame();

} // namespace veskar::fuzz
