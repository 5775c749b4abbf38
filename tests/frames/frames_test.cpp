// Reference frames: a small game runs in the headless veskar and the window is
// captured part-way through and at the end of every transition, and for the
// scene features. Frames must match tests/frames/reference/ byte for byte;
// VESKAR_UPDATE_REFERENCES=1 rewrites the references instead.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frames/frame_runner.h"
#include "graphics/screen_update.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

using frames::packed;
using frames::Shot;

// A horizontal gradient from blue to orange with a darker band every 100 rows.
Picture gradient() {
    Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            p.setPixel(x, y, makeColour(x * 255 / 799, 80 + (y / 100 % 2) * 60, 255 - x * 255 / 799));
    return p;
}

// Vertical stripes in four colours, 50 pixels wide, and a light square.
Picture stripes() {
    const Colour colours[] = {makeColour(30, 140, 60), makeColour(230, 220, 90), makeColour(40, 60, 160),
                              makeColour(200, 60, 60)};
    Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            p.setPixel(x, y,
                       (x > 300 && x < 500 && y > 200 && y < 400) ? makeColour(245, 245, 245)
                                                                  : colours[(x / 50) % 4]);
    return p;
}

// The rule picture: bright in the top-left corner, dark in the bottom-right.
Picture wipeRule() {
    Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const int v = 255 - (x + y) * 255 / 1398;
            p.setPixel(x, y, makeColour(v, v, v));
        }
    return p;
}

// A standing figure: a coloured body with a lighter head, masked by an ellipse
// and a circle (the mask's name replaces the first letter with M).
void sprite(int w, int h, Colour body, Picture& picture, Picture& mask) {
    picture.resize(w, h);
    mask.resize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x - w / 2.0) / (w / 2.0);
            const double headY = (y - h * 0.15) / (h * 0.15);
            const double bodyY = (y - h * 0.62) / (h * 0.38);
            const bool head = dx * dx * 4 + headY * headY <= 1.0;
            const bool torso = dx * dx + bodyY * bodyY <= 1.0;
            picture.setPixel(x, y, head ? makeColour(250, 220, 190) : body);
            const int m = head || torso ? 255 : 0;
            mask.setPixel(x, y, makeColour(m, m, m));
        }
}

// The overlay: picture in the left half, mask in the right half.
Picture overlay() {
    Picture p(400, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            p.setPixel(x, y, makeColour(250, 250, 120 + y));
            const int m = (x > 10 && x < 190 && y > 10 && y < 110) ? 200 : 0;
            p.setPixel(200 + x, y, makeColour(m, m, m));
        }
    return p;
}

void addPictures(test::FixtureGame& game) {
    game.addEntry("vk_gra.vsk", "A01", packed(gradient()));
    game.addEntry("vk_gra.vsk", "A02", packed(stripes()));
    game.addEntry("vk_gra.vsk", "W01", packed(wipeRule()));
    game.addEntry("vk_gra.vsk", "O01", packed(overlay()));
    const Colour bodies[] = {makeColour(200, 40, 40), makeColour(40, 160, 60), makeColour(60, 80, 200),
                             makeColour(160, 60, 180)};
    for (int i = 0; i < 4; ++i) {
        Picture p, m;
        sprite(120 + 20 * i, 360 + 40 * i, bodies[i], p, m);
        const std::string n = "0" + std::to_string(i + 1);
        game.addEntry("vk_gra.vsk", "B" + n, packed(p));
        game.addEntry("vk_gra.vsk", "M" + n, packed(m));
    }
}

// Builds the game with `mainScript` and the pictures above, then runs it.
void runAndCompare(const std::string& mainScript, const std::vector<Shot>& shots,
                   const std::string& input = {}) {
    test::FixtureGame game;
    game.addScript("main", mainScript);
    addPictures(game);
    frames::RunOptions options;
    options.input = input;
    frames::runAndCompare(game.write(), shots, options);
}

// How long each mode runs with frames on time, from the speed row the engine
// uses when S016 is 0 and the number of frames each mode draws with the
// period it waits after each.
constexpr std::uint32_t transitionDuration(int mode) {
    constexpr SpeedRow row = speedRow(0);
    const int s = row.s, p = row.p, n = row.n;
    // A cross-fade draws L = 0, s, 2s ... while L < 257, one period after each.
    const auto fade = [](int step, int period) { return (256 / step + 1) * period; };
    // The circle grows by 10 up to max(|S020 - 400|, |S021 - 300|) + 500, with
    // S020 and S021 as start-up leaves them.
    constexpr int kCircleRadius = 250 + 500;
    switch (mode) {
    case 1:
        return static_cast<std::uint32_t>(fade(16, 10));
    case 2:
        return static_cast<std::uint32_t>(fade(8, 15));
    case 3:
        return static_cast<std::uint32_t>(fade(s, p));
    case 5:
        return static_cast<std::uint32_t>(((256 - s + s - 1) / s + 256 / s) * p); // down, then up
    case 6:
        return static_cast<std::uint32_t>(70 * n);
    case 7:
        return static_cast<std::uint32_t>((kCircleRadius - 5 + 9) / 10 * n);
    case 8:
        return static_cast<std::uint32_t>(116 * n);
    case 9:
        return static_cast<std::uint32_t>(60 * (n / 2));
    case 10:
        return static_cast<std::uint32_t>(80 * (n / 3));
    case 11:
        return static_cast<std::uint32_t>(57 * n);
    case 12:
        return static_cast<std::uint32_t>(20 * 3 * n);
    case 13:
        return static_cast<std::uint32_t>((800 + 280 + 7) / 8 * n);
    case 14:
        return static_cast<std::uint32_t>(50 * n);
    case 15:
        return static_cast<std::uint32_t>((664 + 124 + 7) / 8 * n);
    case 16:
        return static_cast<std::uint32_t>(95 / 2 * n); // waits on odd frames only
    case 17:
        return static_cast<std::uint32_t>(16 * 4 * 2 * n);
    case 18:
        return static_cast<std::uint32_t>(400 / 32 * 2 * n);
    case 19:
        return static_cast<std::uint32_t>(800 / 20 * n);
    case 20:
    case 21:
    case 22:
        return static_cast<std::uint32_t>((256 - 8 + 7) / 8 * n);
    default:
        return 0; // the cut
    }
}

// The transition under test starts on the pass after thirteen passes of
// 20 ms: the first pass, one each for wipeset and the first gra, and the ten
// of the 300 ms sleep (one pass per 30 ms).
constexpr std::uint32_t kPassMs = 20;
constexpr std::uint32_t kTransitionStart = (1 + 1 + 1 + 300 / 30) * kPassMs;

TEST(Frames, TransitionDurationsAreWhatTheEngineTakes) {
    // The times the frames below are taken at hold only if each mode lasts
    // as long as said above on the virtual clock.
    test::FixtureGame game;
    game.addScript("main", "");
    addPictures(game);
    const auto dir = game.write();
    for (int mode = 1; mode < kTransitionCount; ++mode) {
        test::HeadlessRig rig(dir);
        rig.engine.FormCreate();
        const std::uint32_t t0 = rig.host.clock().tickCount();
        rig.engine.screen.RunTransition(mode);
        EXPECT_EQ(rig.host.clock().tickCount() - t0, transitionDuration(mode)) << "mode " << mode;
    }
}

TEST(Frames, EveryTransitionPartWayAndAtItsEnd) {
    for (int mode = 1; mode <= 22; ++mode) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        const std::string script =
            "@wipeset W01\n@gra A01 4\n@sleep 300\n@gra A02 " + std::to_string(mode) + "\n@sleep 3000\n";
        const std::uint32_t start = kTransitionStart;
        const std::uint32_t duration = transitionDuration(mode);
        const std::string name = "transition" + std::string(mode < 10 ? "0" : "") + std::to_string(mode);
        std::vector<Shot> shots = {{start + duration / 3, name + "-part"}};
        if (mode == 1 || mode == 5 || mode == 8 || mode == 12 || mode == 16)
            shots.push_back({start + 2 * duration / 3, name + "-later"});
        shots.push_back({start + duration + 200, name + "-end"});
        runAndCompare(script, shots);
    }
}

TEST(Frames, SceneFeatures) {
    // Each state is held for 30 passes (600 ms) and captured in the middle.
    const char* steps[] = {
        "@gra A01 4\n@spr B01,4",
        "@spr B01,B02,4",
        "@calc S024=1\n@spr B01,B02,4\n@calc S024=0",
        "@spr B01,B02,B03,4",
        "@spr B01,B02,B03,B04,4",
        "@calc S020=0\n@ovr O01,4,300,200",
        "@calc S020=1\n@ovr O01,4,300,200",
        "@calc S023=128\n@ovr O01,4,-100,550",
        "@calc S023=0\n@ovr OFF,4\n@calc S011=1\n@calc S013=8\n@spr B01,4",
        "@calc S011=2\n@spr B01,4",
        "@calc S011=3\n@spr B01,4",
        "@calc S011=4\n@spr B01,B02,4",
        "@calc S011=0\n@gra S4A8 4\n@spr ,B03,4",
    };
    const char* names[] = {"scene-one",
                           "scene-two",
                           "scene-two-right-first",
                           "scene-three",
                           "scene-four",
                           "scene-overlay-beneath",
                           "scene-overlay-above",
                           "scene-overlay-blend",
                           "scene-filter-dark",
                           "scene-filter-sepia",
                           "scene-filter-grey",
                           "scene-filter-turned",
                           "scene-colour-background"};
    std::string script;
    std::vector<Shot> shots;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        script += std::string(steps[i]) + "\n@sleep 900\n";
        shots.push_back({static_cast<std::uint32_t>(300 + 620 * i), names[i]});
    }
    runAndCompare(script, shots);
}

TEST(Frames, AClickCutsATransitionShort) {
    // Mode 7 (the circle) takes 1.5 s; a click 400 ms in shows the new picture at once.
    runAndCompare("@gra A01 4\n@sleep 300\n@gra A02 7\n@sleep 3000\n",
                  {{550, "click-before"}, {700, "click-after"}}, "640 click left 400 300\n");
}

} // namespace
} // namespace veskar
