#include "hostile_games.h"

#include <gtest/gtest.h>

#include <sstream>

#include "graphics/packed_picture.h"
#include "support/fixture_game.h"

namespace veskar::test {

namespace {

std::vector<std::uint8_t> packed(int width, int height, Colour colour) {
    Picture picture(width, height);
    picture.fill(colour);
    auto bytes = EncodePackedPicture(picture);
    EXPECT_TRUE(bytes.has_value());
    return bytes ? *bytes : std::vector<std::uint8_t>{};
}

// The bytes of a script archive entry: LF turned into NUL, every byte negated.
std::string storedScript(std::string_view text) {
    std::string bytes(text);
    for (char& c : bytes)
        c = static_cast<char>(-static_cast<unsigned char>(c == '\n' ? '\0' : c));
    return bytes;
}

} // namespace

HostileRun playHostile(const HostileGame& game, std::uint32_t until) {
    FixtureGame fixture;
    fixture.addEntry("vk_data.vsk", "main", storedScript(game.main));
    if (!game.config.empty()) fixture.addEntry("vk_data.vsk", "_config", storedScript(game.config));
    if (!game.sprset.empty()) fixture.addEntry("vk_data.vsk", "_sprset", storedScript(game.sprset));
    if (!game.graphicsArchive.empty()) {
        fixture.addFile("vk_gra.vsk", game.graphicsArchive);
    } else {
        const auto picture = packed(16, 8, makeColour(200, 30, 30));
        const auto mask = packed(16, 8, makeColour(255, 255, 255));
        for (const char* name : {"A01", "PARTS", "SPR1", "OVL", "BASE", "PART"})
            fixture.addEntry("vk_gra.vsk", name, picture);
        for (const char* name : {"MPR1", "MASE", "MART"})
            fixture.addEntry("vk_gra.vsk", name, mask);
        if (!game.badPicture.empty()) fixture.addEntry("vk_gra.vsk", "BAD", game.badPicture);
    }
    const auto dir = fixture.write();

    HeadlessOptions options;
    options.until = until;
    HeadlessHost host(std::move(options));
    IniSettingsStore store(std::nullopt);
    VirtualAudioDevice audio{host.clock()};
    std::ostringstream out;
    Engine engine(Platform{host, host.clock(), store, audio, nullptr, nullptr, &out}, EngineOptions{dir, 1});
    host.attach(engine);

    HostileRun run;
    const auto start = std::chrono::steady_clock::now();
    run.exitCode = host.run();
    run.wall =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    run.virtualEnd = host.clock().tickCount();
    run.diagnostics = out.str();
    return run;
}

} // namespace veskar::test
