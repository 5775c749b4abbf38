// The message window: its picture from the player's settings, composing over
// the scene, the fades, the text modes, the name plate, the click-wait icon,
// and the hidden-window and panic covers.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/packed_picture.h"
#include "script/command_table.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

// A 64 x 16 window at (100, 500); the name plate reaches 4 rows above it.
constexpr int kWinX = 100, kWinY = 500, kWinW = 64, kWinH = 16;
constexpr int kPlateX = 104, kPlateY = 496;
constexpr int kIconX = 140, kIconY = 504, kIconSize = 8;
const Colour kWindowColour = makeColour(200, 100, 50);
const Colour kWhite = makeColour(255, 255, 255);

constexpr const char* kConfig =
    "TXW_OFS_X:100\nTXW_OFS_Y:500\nTXW_SIZE_X:64\nTXW_SIZE_Y:16\n"
    "TXW_COLOR_R:200\nTXW_COLOR_G:100\nTXW_COLOR_B:50\nTXW_ALPHA:192\nTXW_ALPHA2:0\n"
    "NP_OFS_X:104\nNP_OFS_Y:496\nNP_SZ_X:24\nNP_SZ_Y:12\n"
    "CLICK_WAIT_OFS_X:140\nCLICK_WAIT_OFS_Y:504\nCLICK_WAIT_SIZE_X:8\n"
    "CLICK_WAIT_SIZE_Y:8\nCLICK_WAIT_PAT:4\nCLICK_WAIT_TIMING:1\n"
    "TX_PITCH_X:13\nTX2_OFS_X:60\nTX2_OFS_Y:60\nTX2_PITCH_X:13\nTX2_PITCH_Y:36\n"
    "NAME:1,Alice,F00\nNAME:2,Bob,0F0\nNAME:3,Alice,00F\nNAME:0,Zed,0F0\nEND\n";

// Mask of window column x: a transparent first group of 8 pixels, then 128,
// then a run of assorted values.
int maskAt(int x) {
    static constexpr int kAssorted[] = {1, 97, 200, 255};
    if (x < 8) return 0;
    if (x < 16) return 128;
    return kAssorted[(x - 16) % 4];
}

Picture windowPicture() {
    Picture p(kWinW, 2 * kWinH);
    for (int y = 0; y < 2 * kWinH; ++y)
        for (int x = 0; x < kWinW; ++x)
            p.setPixel(x, y, y < kWinH ? kWindowColour : makeColour(maskAt(x), maskAt(x), maskAt(x)));
    return p;
}

// Four opaque 8 x 8 frames, frame f in red 40 + 50f.
Colour frameColour(int f) { return makeColour(40 + 50 * f, 0, 0); }
Picture clickStrip() {
    Picture p(4 * kIconSize, 2 * kIconSize);
    for (int y = 0; y < 2 * kIconSize; ++y)
        for (int x = 0; x < 4 * kIconSize; ++x)
            p.setPixel(x, y, y < kIconSize ? frameColour(x / kIconSize) : kWhite);
    return p;
}

std::vector<std::uint8_t> packed(const Picture& p) { return *EncodePackedPicture(p); }

// A bottom-up 24-bit BMP of one colour.
std::string solidBmp(int w, int h, Colour c) {
    const int stride = (w * 3 + 3) / 4 * 4;
    std::string b(54 + static_cast<std::size_t>(stride * h), '\0');
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y * stride + x * 3);
            b[at] = static_cast<char>((c >> 16) & 0xFF);
            b[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            b[at + 2] = static_cast<char>(c & 0xFF);
        }
    return b;
}

struct WindowRig {
    explicit WindowRig(HeadlessOptions options = {}, bool withPanic = false) {
        game.addScript("main", "").addScript("_config", kConfig);
        game.addEntry("vk_gra.vsk", "sys_tw", packed(windowPicture()));
        game.addEntry("vk_gra.vsk", "sys_tw1", packed(Picture(kWinW, kWinH)));
        game.addEntry("vk_gra.vsk", "sys_clickw", packed(clickStrip()));
        if (withPanic) game.addFile("panic.bmp", solidBmp(16, 8, makeColour(1, 2, 3)));
        rig = std::make_unique<test::HeadlessRig>(game.write(), std::move(options));
        engine().FormCreate();
        setScene(makeColour(40, 80, 120));
    }

    Engine& engine() { return rig->engine; }
    MessageWindow& window() { return rig->engine.window; }
    Pictures& pictures() { return rig->engine.pictures; }
    Picture& display() { return rig->host.windowPicture(); }
    std::uint32_t now() { return rig->host.clock().tickCount(); }

    // The scene (and the background it is composed from) in one colour, on screen.
    void setScene(Colour c) {
        pictures().bgPicture.fill(c);
        pictures().sceneBuffer.fill(c);
        pictures().nextScreen = pictures().sceneBuffer;
        display() = pictures().sceneBuffer;
        window().ComposedWindowValid = false;
    }
    int command(int index, const std::string& line) {
        return engine().interp.commands.runCommand(index, line);
    }

    test::FixtureGame game;
    std::unique_ptr<test::HeadlessRig> rig;
};

// Blend of one byte as the window does it.
int blend(int under, int picture, int mask) {
    return std::min(255, under * (255 - mask) / 256 + picture * mask / 256);
}
Colour blendColour(Colour under, Colour picture, int mask) {
    const auto ch = [](Colour c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    return makeColour(blend(ch(under, 0), ch(picture, 0), mask), blend(ch(under, 8), ch(picture, 8), mask),
                      blend(ch(under, 16), ch(picture, 16), mask));
}

TEST(WindowPicture, OpacitySettingScalesOrRaisesTheMask) {
    struct Case {
        int alpha;
        int expected[6]; // masks 0, 128, 1, 97, 200, 255
    } cases[] = {
        {192, {0, 128, 1, 97, 200, 255}},
        {96, {0, 64, 0, 48, 100, 127}},
        {255, {63, 191, 64, 160, 255, 255}},
        {0, {0, 0, 0, 0, 0, 0}},
    };
    const int columns[6] = {0, 8, 16, 17, 18, 19};
    WindowRig rig;
    EXPECT_EQ(rig.pictures().sys_tw, windowPicture());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        rig.engine().settings.TXBG_A = c.alpha;
        rig.window().BuildWindowPicture();
        const Picture& w = rig.window().WindowPicture;
        for (int i = 0; i < 6; ++i)
            for (int row : {kWinH, 2 * kWinH - 1}) {
                const int v = c.expected[i];
                EXPECT_EQ(w.pixel(columns[i], row), makeColour(v, v, v)) << "column " << columns[i];
            }
        // The colour half keeps the drawn colour.
        EXPECT_EQ(w.pixel(0, 0), kWindowColour);
        EXPECT_EQ(w.pixel(kWinW - 1, kWinH - 1), kWindowColour);
    }
    // As drawn: exactly the loaded picture.
    rig.engine().settings.TXBG_A = 192;
    rig.window().BuildWindowPicture();
    EXPECT_EQ(rig.window().WindowPicture, windowPicture());
}

TEST(WindowPicture, AnOwnColourRefillsTheWholeColourHalf) {
    WindowRig rig;
    // Paint a pattern into the colour half so that a partial refill would show.
    Picture patterned = windowPicture();
    patterned.setPixel(5, 3, makeColour(1, 1, 1));
    rig.pictures().sys_tw = patterned;
    rig.engine().settings.TXBG_G = 101; // only green differs from the drawn colour
    rig.window().BuildWindowPicture();
    const Picture& w = rig.window().WindowPicture;
    for (int y = 0; y < kWinH; ++y)
        for (int x = 0; x < kWinW; ++x)
            ASSERT_EQ(w.pixel(x, y), makeColour(200, 101, 50)) << x << "," << y;
    for (int y = kWinH; y < 2 * kWinH; ++y)
        for (int x = 0; x < kWinW; ++x)
            ASSERT_EQ(w.pixel(x, y), patterned.pixel(x, y)) << "the mask half stays";
}

TEST(ComposeWindow, BlendsTheWindowOverTheScene) {
    WindowRig rig;
    const Colour scene = makeColour(40, 80, 120);
    rig.window().ComposeMessageWindow();
    const Picture& composed = rig.window().ComposedWindow;
    ASSERT_EQ(composed.width(), kWinW);
    ASSERT_EQ(composed.height(), kWinH);
    // A group whose mask is all 0 keeps the scene exactly; mask 128 mixes.
    EXPECT_EQ(composed.pixel(0, 0), scene);
    EXPECT_EQ(composed.pixel(8, 0), makeColour(119, 89, 84));
    EXPECT_EQ(composed.pixel(19, kWinH - 1), blendColour(scene, kWindowColour, 255));
    EXPECT_TRUE(rig.window().ComposedWindowValid);
    EXPECT_EQ(rig.window().CleanComposedWindow, composed);
    // The name plate's background: black above the window, the window below.
    const Picture& plate = rig.window().NamePlateBackground;
    EXPECT_EQ(plate.pixel(0, 0), makeColour(0, 0, 0));
    EXPECT_EQ(plate.pixel(23, 3), makeColour(0, 0, 0));
    EXPECT_EQ(plate.pixel(4, 4), composed.pixel(kPlateX - kWinX + 4, 0));
    EXPECT_EQ(plate.pixel(23, 11), composed.pixel(kPlateX - kWinX + 23, 7));

    // While valid, composing is a copy of the clean window, whatever the scene.
    rig.pictures().sceneBuffer.fill(makeColour(0, 0, 0));
    rig.window().ComposedWindow.fill(makeColour(9, 9, 9));
    rig.window().ComposeMessageWindow();
    EXPECT_EQ(rig.window().ComposedWindow.pixel(0, 0), scene);
}

TEST(ComposeWindow, ANewSceneIsComposedUnderTheWindow) {
    WindowRig rig;
    rig.engine().run.SkipActive = true;
    rig.window().OpenMessageWindow();
    ASSERT_EQ(rig.pictures().nextScreen.pixel(kWinX, kWinY), makeColour(40, 80, 120));

    const Colour fresh = makeColour(7, 160, 33);
    rig.pictures().bgPicture.fill(fresh);
    rig.engine().screen.UpdateScreen(1);
    const Picture& next = rig.pictures().nextScreen;
    EXPECT_EQ(next.pixel(kWinX, kWinY), fresh);
    EXPECT_EQ(next.pixel(kWinX + 8, kWinY), blendColour(fresh, kWindowColour, 128));
    EXPECT_EQ(next.pixel(0, 0), fresh);
    EXPECT_EQ(rig.display(), next);
}

TEST(ComposeWindow, TheSepiaFadeKeepsTheShownWindow) {
    WindowRig rig;
    rig.engine().run.SkipActive = true;
    rig.window().OpenMessageWindow();
    rig.engine().screen.SepiaFade();
    const Picture& next = rig.pictures().nextScreen;
    EXPECT_NE(next.pixel(0, 0), makeColour(40, 80, 120)) << "the scene turned sepia";
    for (int x : {0, 8, 19})
        EXPECT_EQ(next.pixel(kWinX + x, kWinY), rig.window().ComposedWindow.pixel(x, 0));
    EXPECT_EQ(rig.display(), next);
}

TEST(WindowFades, EndInTheSameStateWhetherFadedCutShortOrSkipped) {
    struct Case {
        const char* what;
        bool skipping;
        std::optional<std::uint32_t> clickAt;
        std::uint32_t minTime, maxTime; // duration of each fade
    } cases[] = {
        {"full fades", false, std::nullopt, 320, 330},
        {"a click cuts the opening fade short", false, 55, 50, 100},
        {"no fade while skipping", true, std::nullopt, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessOptions options;
        if (c.clickAt)
            options.input.events.push_back({*c.clickAt, InputEvent::Kind::Press, MouseButton::Left, {}});
        WindowRig rig(std::move(options));
        rig.engine().run.SkipActive = c.skipping;
        const Picture before = rig.pictures().nextScreen;

        const std::uint32_t t0 = rig.now();
        rig.window().OpenMessageWindow();
        const std::uint32_t opening = rig.now() - t0;
        EXPECT_GE(opening, c.minTime);
        EXPECT_LE(opening, c.maxTime);
        EXPECT_TRUE(rig.engine().run.WindowShown);
        EXPECT_TRUE(rig.engine().layout.pageEmpty);
        EXPECT_EQ(rig.pictures().prevScreen, before);
        Picture expected = before;
        expected.copyFrom(rig.window().ComposedWindow, 0, 0, kWinW, kWinH, kWinX, kWinY);
        EXPECT_EQ(rig.pictures().nextScreen, expected);
        EXPECT_EQ(rig.display(), expected);
        EXPECT_EQ(rig.engine().run.Busy, 0);
        EXPECT_FALSE(rig.engine().run.InEffect);

        rig.engine().layout.pageEmpty = false;
        rig.engine().layout.textColumn = 7;
        rig.engine().layout.textRow = 2;
        const std::uint32_t t1 = rig.now();
        rig.window().CloseMessageWindow();
        const std::uint32_t closing = rig.now() - t1;
        if (!c.clickAt) {
            EXPECT_GE(closing, c.minTime);
            EXPECT_LE(closing, c.maxTime);
        }
        EXPECT_FALSE(rig.engine().run.WindowShown);
        EXPECT_TRUE(rig.engine().layout.pageEmpty);
        EXPECT_EQ(rig.engine().layout.textColumn, 0);
        EXPECT_EQ(rig.engine().layout.textRow, 0);
        EXPECT_EQ(rig.pictures().nextScreen, rig.pictures().sceneBuffer);
        EXPECT_EQ(rig.display(), rig.pictures().sceneBuffer);
    }
}

TEST(WindowCommands, OpenTwiceAndCloseInFullScreenTextDoNothing) {
    WindowRig rig;
    ASSERT_EQ(rig.command(kWinOpen, "*win_open"), 0);
    ASSERT_TRUE(rig.engine().run.WindowShown);
    const Picture shown = rig.display();
    rig.pictures().prevScreen.fill(makeColour(1, 1, 1));
    const std::uint32_t t0 = rig.now();
    rig.command(kWinOpen, "*win_open");
    EXPECT_EQ(rig.now(), t0) << "no second fade";
    EXPECT_EQ(rig.pictures().prevScreen.pixel(0, 0), makeColour(1, 1, 1));
    EXPECT_EQ(rig.display(), shown);

    rig.engine().vars.S(150) = 1;
    rig.engine().layout.textColumn = 5;
    rig.command(kWinClose, "*win_close");
    EXPECT_TRUE(rig.engine().run.WindowShown);
    EXPECT_EQ(rig.engine().layout.textColumn, 5);
    EXPECT_EQ(rig.display(), shown);
    EXPECT_EQ(rig.now(), t0);

    // In the window mode it closes.
    rig.engine().vars.S(150) = 0;
    rig.command(kWinClose, "*win_close");
    EXPECT_FALSE(rig.engine().run.WindowShown);
    EXPECT_EQ(rig.engine().layout.textColumn, 0);
}

TEST(TextMode, SameModeOnlyResetsTheTextColour) {
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        WindowRig rig;
        auto& vars = rig.engine().vars;
        vars.S(150) = mode;
        vars.S(37) = static_cast<int>(makeColour(240, 0, 0));
        rig.engine().glyphs.SetTextColour(0);
        rig.pictures().prevScreen.fill(makeColour(1, 1, 1));
        const Picture next = rig.pictures().nextScreen;
        rig.command(kMode, "*mode " + std::to_string(mode));
        EXPECT_EQ(vars.S(37), static_cast<int>(kWhite));
        EXPECT_EQ(rig.engine().glyphs.LastTileColour, kWhite);
        EXPECT_EQ(vars.S(150), mode);
        EXPECT_EQ(rig.pictures().prevScreen.pixel(0, 0), makeColour(1, 1, 1)) << "no screen update";
        EXPECT_EQ(rig.pictures().nextScreen, next);
    }
}

TEST(TextMode, AnyOtherValueTogglesAndUpdatesTheScreen) {
    WindowRig rig;
    rig.engine().settings.GMode = 1; // updates as cuts
    rig.engine().settings.TXBG_A2 = 128;
    rig.engine().run.SkipActive = true;
    rig.window().OpenMessageWindow();
    const Picture windowed = rig.pictures().nextScreen;

    rig.command(kMode, "*mode 2");
    EXPECT_EQ(rig.engine().vars.S(150), 1);
    // The whole screen darkened by (255 - 128) / 256: 40, 80, 120 -> 19, 39, 59.
    const Colour dark = makeColour(19, 39, 59);
    EXPECT_EQ(rig.pictures().nextScreen.pixel(0, 0), dark);
    EXPECT_EQ(rig.pictures().nextScreen.pixel(kWinX + 8, kWinY), dark);
    EXPECT_EQ(rig.display(), rig.pictures().nextScreen);

    rig.command(kMode, "*mode 0");
    EXPECT_EQ(rig.engine().vars.S(150), 0);
    EXPECT_EQ(rig.pictures().nextScreen, windowed);
    EXPECT_EQ(rig.display(), windowed);
}

TEST(TextMode, DarkeningAlwaysTakesAtLeastOneStep) {
    struct Case {
        int alpha2;
        Colour expected; // of scene (200, 100, 1)
    } cases[] = {
        {0, makeColour(199, 99, 0)},
        {128, makeColour(99, 49, 0)},
        {255, makeColour(0, 0, 0)},
    };
    WindowRig rig;
    rig.pictures().sceneBuffer.fill(makeColour(200, 100, 1));
    rig.engine().vars.S(150) = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha2);
        rig.engine().settings.TXBG_A2 = c.alpha2;
        rig.window().ComposeMessageWindow();
        EXPECT_EQ(rig.window().DarkenedScreen.pixel(0, 0), c.expected);
        EXPECT_EQ(rig.window().DarkenedScreen.pixel(799, 599), c.expected);
    }
}

TEST(NamePlate, TakesTheSpeakersColour) {
    struct Case {
        const char* name;
        int screenMode;
        Colour colour;
    } cases[] = {
        {"Bob", 0, makeColour(0, 240, 0)},
        {"Alice", 0, makeColour(240, 0, 0)}, // entry 3 repeats the name: the lower entry wins
        {"Nobody", 0, kWhite},
        {"alice", 0, kWhite}, // names compare byte for byte
        {"Zed", 0, kWhite},   // entry 0 is never consulted
        {"Alice", 9, makeColour(255, 255, 0)},
        {"Nobody", 9, makeColour(255, 255, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in mode " + std::to_string(c.screenMode));
        WindowRig rig;
        rig.engine().run.SkipActive = true;
        rig.window().OpenMessageWindow();
        rig.engine().run.ScreenMode = c.screenMode;
        rig.window().DrawNamePlate(c.name);
        EXPECT_EQ(rig.engine().vars.S(37), static_cast<int>(c.colour));
        // The plate, with the window's own area under the name, on both pictures.
        const Picture& plate = rig.window().NamePlateWork;
        for (const Picture* target : {&rig.pictures().nextScreen, &rig.display()}) {
            EXPECT_EQ(target->pixel(kPlateX, kPlateY), plate.pixel(0, 0));
            EXPECT_EQ(target->pixel(kPlateX, kPlateY), makeColour(0, 0, 0));
            EXPECT_EQ(target->pixel(kPlateX + 23, kPlateY + 11), plate.pixel(23, 11));
        }
    }
}

TEST(ClickWaitIcon, FramesFollowTheTickCount) {
    WindowRig rig;
    auto& run = rig.engine().run;
    run.ClickWaitKind = 1;
    const Picture next = rig.pictures().nextScreen;
    const int expected[] = {0, 1, 1, 2, 2, 3, 3, 0};
    for (int i = 0; i < 8; ++i) {
        rig.engine().Timer1Timer();
        const Colour shown = blendColour(0, frameColour(expected[i]), 255);
        EXPECT_EQ(rig.display().pixel(kIconX, kIconY), shown) << "tick " << i + 1;
        EXPECT_EQ(rig.display().pixel(kIconX + 7, kIconY + 7), shown) << "tick " << i + 1;
    }
    EXPECT_EQ(rig.display().pixel(kIconX + 8, kIconY), next.pixel(kIconX + 8, kIconY));
    EXPECT_EQ(rig.pictures().nextScreen, next) << "the icon is drawn on the display only";
    EXPECT_FALSE(rig.window().ClickWaitRestored);

    rig.window().RestoreClickWaitArea();
    EXPECT_TRUE(rig.window().ClickWaitRestored);
    EXPECT_EQ(rig.display(), next);
}

TEST(ClickWaitIcon, HiddenWhileSkippingAndForWaitsWithoutAMarker) {
    struct Case {
        const char* what;
        int kind;
        bool skipping;
        int autoLevel;
        bool drawn;
    } cases[] = {
        {"a page end", 1, false, 0, true},
        {"a wait marker", 2, false, 0, true},
        {"a page end without a marker", 5, false, 0, false},
        {"skipping", 1, true, 0, false},
        {"auto mode", 2, false, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowRig rig;
        rig.engine().run.ClickWaitKind = c.kind;
        rig.engine().run.SkipActive = c.skipping;
        rig.engine().vars.S(26) = c.autoLevel;
        rig.engine().run.AutoCountdown = 10;
        for (int i = 0; i < 2; ++i)
            rig.engine().Timer1Timer();
        EXPECT_EQ(rig.display() != rig.pictures().nextScreen, c.drawn);
    }
}

TEST(ClickWaitIcon, FollowsTheCursorInFullScreenText) {
    WindowRig rig;
    rig.engine().vars.S(150) = 1;
    rig.engine().layout.textColumn = 2;
    rig.engine().layout.textRow = 1;
    rig.window().AnimateClickWait();
    const Point at{2 * 13 + 60, 1 * 36 + 60};
    EXPECT_EQ(rig.window().ClickWaitPos, at);
    EXPECT_EQ(rig.display().pixel(at.x, at.y), blendColour(0, frameColour(0), 255));
    // The next line moves it; the old place is put back first.
    rig.engine().layout.textRow = 2;
    rig.window().AnimateClickWait();
    EXPECT_EQ(rig.display().pixel(at.x, at.y), rig.pictures().nextScreen.pixel(at.x, at.y));
    EXPECT_EQ(rig.display().pixel(at.x, at.y + 36), blendColour(0, frameColour(1), 255));
}

TEST(ClickWaitIcon, NothingDrawnWithoutTheStripOrFrames) {
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant);
        WindowRig rig;
        if (variant == 0)
            rig.pictures().sys_clickw = Picture();
        else
            rig.engine().definition.CLICK_WAIT_PAT = 0;
        rig.window().AnimateClickWait();
        rig.window().AnimateClickWait();
        EXPECT_EQ(rig.display(), rig.pictures().nextScreen);
    }
}

TEST(AutoMode, StartsANewPageOnlyWhileTheWindowIsShown) {
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        WindowRig rig;
        auto& run = rig.engine().run;
        rig.engine().run.SkipActive = true;
        if (shown) rig.command(kWinOpen, "*win_open");
        rig.engine().run.SkipActive = false;
        rig.engine().vars.S(26) = 4;
        rig.engine().layout.pageChars = 12;
        rig.engine().layout.textRow = 3;
        run.ClickWaitKind = 1;
        run.AutoCountdown = 1;
        rig.engine().Timer1Timer();
        EXPECT_EQ(run.ClickWaitKind, 0);
        // A new page starts on an empty grid; without the window the page is left as it is.
        EXPECT_EQ(rig.engine().layout.pageChars, shown ? 0 : 12);
        EXPECT_EQ(rig.engine().layout.textRow, shown ? 0 : 3);
        EXPECT_EQ(rig.display(), rig.pictures().nextScreen) << "no icon in auto mode";
    }
}

TEST(HiddenWindow, ShowsTheSceneAndGivesTheScreenBack) {
    WindowRig rig;
    rig.engine().run.SkipActive = true;
    rig.window().OpenMessageWindow();
    const Picture withWindow = rig.pictures().nextScreen;
    ASSERT_NE(withWindow, rig.pictures().sceneBuffer);

    // Not allowed while S028 is 0.
    rig.window().HideMessageWindow();
    EXPECT_EQ(rig.engine().run.ScreenMode, 0);
    EXPECT_EQ(rig.display(), withWindow);

    rig.engine().vars.S(28) = 1;
    rig.window().HideMessageWindow();
    EXPECT_EQ(rig.engine().run.ScreenMode, 1);
    EXPECT_EQ(rig.display(), rig.pictures().sceneBuffer);
    rig.display().fill(0);
    rig.engine().PBPaint();
    EXPECT_EQ(rig.display(), rig.pictures().sceneBuffer) << "repaints keep the window hidden";

    rig.window().ShowHiddenWindow();
    EXPECT_EQ(rig.engine().run.ScreenMode, 0);
    EXPECT_EQ(rig.display(), withWindow);
    EXPECT_EQ(rig.pictures().nextScreen, withWindow);
}

TEST(PanicScreen, CoversTheGameUntilTheNextClick) {
    WindowRig rig({}, true);
    rig.engine().run.SkipActive = true;
    rig.window().OpenMessageWindow();
    const Picture screen = rig.pictures().nextScreen;

    rig.window().ShowPanicScreen();
    EXPECT_TRUE(rig.window().PanicShown);
    EXPECT_EQ(rig.engine().run.Busy, 1);
    EXPECT_EQ(rig.display().pixel(0, 0), makeColour(1, 2, 3));
    EXPECT_EQ(rig.display().pixel(15, 7), makeColour(1, 2, 3));
    EXPECT_EQ(rig.display().pixel(16, 0), makeColour(0, 0, 0));
    EXPECT_EQ(rig.pictures().nextScreen.width(), 800);
    EXPECT_EQ(rig.pictures().nextScreen.height(), 600);
    // A second request keeps the game's screen for the way back.
    rig.window().ShowPanicScreen();
    EXPECT_EQ(rig.engine().run.Busy, 1);

    rig.window().EndPanicScreen();
    EXPECT_FALSE(rig.window().PanicShown);
    EXPECT_EQ(rig.engine().run.Busy, 0);
    EXPECT_EQ(rig.pictures().nextScreen, screen);
    EXPECT_EQ(rig.display(), screen);
    rig.window().EndPanicScreen();
    EXPECT_EQ(rig.engine().run.Busy, 0);
}

TEST(PanicScreen, WithoutThePictureNothingChanges) {
    WindowRig rig;
    const Picture screen = rig.pictures().nextScreen;
    rig.window().ShowPanicScreen();
    EXPECT_FALSE(rig.window().PanicShown);
    EXPECT_EQ(rig.engine().run.Busy, 0);
    EXPECT_EQ(rig.display(), screen);
    EXPECT_EQ(rig.pictures().nextScreen, screen);
}

} // namespace
} // namespace veskar
