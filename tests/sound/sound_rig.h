#pragma once
// A fixture game with sound archives on a headless engine whose sound
// device keeps virtual time and records what it plays.

#include <cmath>
#include <memory>
#include <vector>

#include "sound/wady.h"
#include "support/fixture_game.h"
#include "support/headless_rig.h"
#include "support/ogg_encoder.h"

namespace veskar::test {

// `frames` of a quiet tone, never silent at the end.
inline std::vector<std::int16_t> toneSamples(std::size_t frames, int channels = 1) {
    std::vector<std::int16_t> s(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<std::int16_t>(3000 + 2000 * std::sin(static_cast<double>(i) * 0.05));
    return s;
}

inline std::vector<std::uint8_t> oggOf(std::size_t frames, int rate = 22050) {
    const auto s = toneSamples(frames);
    return encodeOgg(s, 1, rate);
}

inline std::vector<std::uint8_t> wadyOf(std::size_t frames, int rate = 22050) {
    const auto s = toneSamples(frames);
    return encodeWadyOneShot(PcmFormat{1, rate, 16}, s);
}

class SoundRig {
public:
    SoundRig() { game.addEntry("vk_gra.vsk", "blank", "x"); }

    SoundRig& entry(std::string_view archive, std::string_view name, std::span<const std::uint8_t> bytes) {
        game.addEntry(archive, name, bytes);
        return *this;
    }

    // Writes the game, starts the engine and runs the first pass (which opens the sound).
    Engine& start(std::string_view mainScript = "\\\n") {
        game.addScript("main", mainScript);
        rig = std::make_unique<HeadlessRig>(game.write());
        rig->audio.startRecording();
        engine().FormCreate();
        engine().AppIdle();
        return engine();
    }

    Engine& engine() { return rig->engine; }
    VirtualAudioDevice& audio() { return rig->audio; }
    VirtualClock& clock() { return rig->host.clock(); }

    // Timer ticks every 55 ms until `ms` of virtual time.
    void tickUntil(std::uint32_t ms) {
        while (static_cast<std::int32_t>(nextTick_ - ms) <= 0) {
            clock().advanceTo(nextTick_);
            engine().Timer1Timer();
            nextTick_ += 55;
        }
        clock().advanceTo(ms);
    }

    FixtureGame game;
    std::unique_ptr<HeadlessRig> rig;

private:
    std::uint32_t nextTick_ = 55;
};

} // namespace veskar::test
