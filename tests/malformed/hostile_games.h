#pragma once
// Tiny games that hand the engine hostile numbers, played on the headless
// host with the diagnostics caught.

#include <chrono>
#include <cstdint>
#include <string>

namespace veskar::test {

struct HostileRun {
    int exitCode = 0;
    std::uint32_t virtualEnd = 0; // ms of virtual time when the run ended
    std::chrono::milliseconds wall{0};
    std::string diagnostics; // every line the diagnostics sink wrote
};

// Scripts are given as the engine reads them once decoded (Shift-JIS bytes),
// with LF for the NUL that ends each line.
struct HostileGame {
    std::string main;        // the main script
    std::string config = ""; // _config, none when empty
    std::string sprset = ""; // _sprset, none when empty
    // The whole of vk_gra.vsk, in place of the small pictures, when not empty.
    std::string graphicsArchive = "";
    // An extra entry BAD in vk_gra.vsk, when not empty.
    std::string badPicture = "";
};

// Plays `game` (with a few small pictures: A01, PARTS, SPR1, OVL, BASE, PART
// and their masks) for at most `until` ms of virtual time.
HostileRun playHostile(const HostileGame& game, std::uint32_t until = 20'000);

} // namespace veskar::test
