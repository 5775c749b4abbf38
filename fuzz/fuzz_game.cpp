#include "fuzz_game.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "archive/archive_writer.h"
#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "graphics/packed_picture.h"
#include "shell/engine.h"

namespace veskar::fuzz {

namespace {

std::vector<std::uint8_t> filled(int width, int height, Colour colour) {
    Picture picture(width, height);
    picture.fill(colour);
    auto bytes = EncodePackedPicture(picture);
    if (!bytes) std::abort();
    return *bytes;
}

// A script as the archive stores it: NUL-ended lines, every byte negated.
std::vector<std::uint8_t> stored(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(-(b == '\n' ? 0 : b));
    return bytes;
}

} // namespace

FuzzGame::FuzzGame()
    : dir_(std::filesystem::temp_directory_path() / ("veskar-fuzz-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    const auto picture = filled(16, 8, makeColour(200, 30, 30));
    const auto mask = filled(16, 8, makeColour(255, 255, 255));
    std::vector<ArchiveEntry> entries;
    for (const char* name : {"A01", "PARTS", "SPR1", "OVL", "BASE", "PART"})
        entries.push_back({name, picture});
    for (const char* name : {"MPR1", "MASE", "MART"})
        entries.push_back({name, mask});
    if (!writeArchive(dir_ / "vk_gra.vsk", ArchiveLayout::General, entries)) std::abort();
}

FuzzGame::~FuzzGame() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void FuzzGame::play(std::string_view main, std::string_view config, std::string_view sprset,
                    std::uint32_t virtualMs) {
    std::vector<ArchiveEntry> scripts{{"main", stored(main)}};
    if (!config.empty()) scripts.push_back({"_config", stored(config)});
    if (!sprset.empty()) scripts.push_back({"_sprset", stored(sprset)});
    if (!writeArchive(dir_ / "vk_data.vsk", ArchiveLayout::Script, scripts)) std::abort();

    HeadlessOptions options;
    options.until = virtualMs;
    HeadlessHost host(std::move(options));
    IniSettingsStore store(std::nullopt);
    VirtualAudioDevice audio{host.clock()};
    std::ostringstream discarded;
    Engine engine(Platform{host, host.clock(), store, audio, nullptr, nullptr, &discarded},
                  EngineOptions{dir_, 1});
    host.attach(engine);
    (void)host.run();
    // The time limit held; a wait already begun (direct: 60 s at most) ends by itself.
    if (host.clock().tickCount() > virtualMs + 61000) std::abort();
}

FuzzGame& fuzzGame() {
    static FuzzGame game;
    return game;
}

} // namespace veskar::fuzz
