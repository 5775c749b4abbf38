// Reference frames of the story text: a small game with its own message
// window, click-wait icon and gaiji runs in the headless veskar with the font
// pinned to one file, and the window, name plates, wrapped and indented
// pages, ruby, spacing, the gaiji, the full-screen text mode, the window's
// fade and the click-wait icon are captured and compared byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "frames/frame_runner.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

using frames::packed;
using frames::Shot;

constexpr const char* kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// Window geometry of the game definition below.
constexpr int kWindowWidth = 720;
constexpr int kWindowHeight = 150;
constexpr int kIconSize = 24;
constexpr int kIconFrames = 4;

// The game definition: window at (40, 440), text pitch 13 x 34, 50 columns
// and rows 0-3 in the window (row 0 is the name plate's), 52 columns in the
// full-screen mode; the icon changes frame every two timer ticks.
constexpr const char* kConfig = R"(;text frames game
TITLE:Text frames
MAKER_REG:Software\Veskar
GAME_ID:textframes
TXW_OFS_X:40
TXW_OFS_Y:440
TXW_SIZE_X:720
TXW_SIZE_Y:150
TXW_COLOR_R:0
TXW_COLOR_G:16
TXW_COLOR_B:48
TXW_ALPHA:192
TXW_ALPHA2:160
FONT_NAME:ＭＳ ゴシック
NP_OFS_X:48
NP_OFS_Y:444
NP_SZ_X:200
NP_SZ_Y:40
TX_OFS_X:24
TX_OFS_Y:8
TX_PITCH_X:13
TX_PITCH_Y:34
MOJI_MAX_X:50
MOJI_MAX_Y:4
TX2_OFS_X:60
TX2_OFS_Y:50
TX2_PITCH_X:13
TX2_PITCH_Y:36
MOJI_MAX2_X:52
MOJI_MAX2_Y:14
CLICK_WAIT_OFS_X:724
CLICK_WAIT_OFS_Y:556
CLICK_WAIT_SIZE_X:24
CLICK_WAIT_SIZE_Y:24
CLICK_WAIT_PAT:4
CLICK_WAIT_TIMING:1
;ナギ speaks in orange; 灯台守 has no entry and speaks in white
NAME:1,ナギ,G84
END
)";

int clampByte(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

// Dusk over the sea: a sky gradient, a pale moon, and a striped lighthouse
// whose lower part stands behind the message window, so that the window's
// transparency shows.
Picture background() {
    Picture p(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            Colour c;
            if (y < 380) {
                const double t = y / 380.0;
                c = makeColour(clampByte(60 + 180 * t), clampByte(40 + 90 * t), clampByte(120 - 40 * t));
            } else {
                const double t = (y - 380) / 220.0;
                c = makeColour(clampByte(30 - 20 * t), clampByte(90 - 50 * t), clampByte(120 - 50 * t));
            }
            const double mx = x - 560.0, my = y - 190.0;
            if (mx * mx + my * my <= 80.0 * 80.0) c = makeColour(250, 240, 200);
            if (x >= 140 && x < 200 && y >= 150)
                c = (y / 40) % 2 ? makeColour(220, 40, 40) : makeColour(240, 240, 240);
            p.setPixel(x, y, c);
        }
    return p;
}

// Signed distance from a point to the edge of a rounded rectangle
// (negative inside).
double roundedRectDistance(double x, double y, double w, double h, double radius) {
    const double qx = std::abs(x - w / 2) - (w / 2 - radius);
    const double qy = std::abs(y - h / 2) - (h / 2 - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// `sys_tw`: the colour image over its mask. A navy panel with rounded corners,
// a light border and a soft two-pixel edge; the panel is a little more than
// half opaque, the border more.
Picture windowPicture() {
    Picture p(kWindowWidth, 2 * kWindowHeight);
    for (int y = 0; y < kWindowHeight; ++y)
        for (int x = 0; x < kWindowWidth; ++x) {
            const double d = roundedRectDistance(x + 0.5, y + 0.5, kWindowWidth, kWindowHeight, 18);
            const bool border = d > -4;
            const double t = static_cast<double>(y) / kWindowHeight;
            p.setPixel(
                x, y,
                border ? makeColour(150, 180, 230)
                       : makeColour(clampByte(20 - 20 * t), clampByte(40 - 24 * t), clampByte(90 - 42 * t)));
            const double edge = std::clamp(0.5 - d / 2, 0.0, 1.0);
            const int m = clampByte(edge * (border ? 220 : 150));
            p.setPixel(x, kWindowHeight + y, makeColour(m, m, m));
        }
    return p;
}

// `sys_clickw`: four frames of a gold arrow that drops 0, 3, 6 and 3 pixels,
// colours above, masks below.
Picture clickWaitStrip() {
    const int drop[kIconFrames] = {0, 3, 6, 3};
    Picture p(kIconSize * kIconFrames, 2 * kIconSize);
    for (int f = 0; f < kIconFrames; ++f)
        for (int y = 0; y < kIconSize; ++y)
            for (int x = 0; x < kIconSize; ++x) {
                p.setPixel(f * kIconSize + x, y, makeColour(255, 200 + y * 2, 60));
                // A downward triangle 16 wide and 10 high.
                const int top = 5 + drop[f];
                const int row = y - top;
                const bool inside = row >= 0 && row < 10 && std::abs(2 * x - 23) <= 16 - row * 16 / 10;
                const int m = inside ? 255 : 0;
                p.setPixel(f * kIconSize + x, kIconSize + y, makeColour(m, m, m));
            }
    return p;
}

// `sys_gaiji`: a ring around a diamond, coverage in the blue byte only (the
// other two bytes are 0, so a reader of the wrong byte draws nothing).
Picture gaijiPicture() {
    Picture p(kIconSize, kIconSize);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const double dx = x - 11.5, dy = y - 11.5;
            const double r = std::hypot(dx, dy);
            const bool ring = r > 8.5 && r < 11.5;
            const bool diamond = std::abs(dx) + std::abs(dy) < 5.5;
            p.setPixel(x, y, makeColour(0, 0, ring || diamond ? 255 : 0));
        }
    return p;
}

void runTextGame(const std::string& mainScript, const std::vector<Shot>& shots) {
    ASSERT_TRUE(std::filesystem::exists(kFontFile))
        << kFontFile << " is missing (Debian package fonts-ipafont-gothic); the frames are drawn with it";
    test::FixtureGame game;
    game.addScript("_config", kConfig);
    game.addScript("main", mainScript);
    game.addEntry("vk_gra.vsk", "A01", packed(background()));
    game.addEntry("vk_gra.vsk", "sys_tw", packed(windowPicture()));
    game.addEntry("vk_gra.vsk", "sys_tw1", packed(Picture(kWindowWidth, kWindowHeight)));
    game.addEntry("vk_gra.vsk", "sys_clickw", packed(clickWaitStrip()));
    game.addEntry("vk_gra.vsk", "sys_gaiji", packed(gaijiPicture()));
    frames::RunOptions options;
    options.extraArgs = {"--font", kFontFile};
    frames::runAndCompare(game.write(), shots, options);
}

// One run in the window: the window fades in; a page by the orange speaker
// (a bracketed line that wraps and goes on indented under the bracket, then
// narration indented with 。 hanging past the edge); a page by the white
// speaker with ruby (written before its word: it stands over the characters
// put next), wide spacing, a colour tag and the gaiji (尓 is
// Shift-JIS 0x9B95), ending in a page wait whose icon is caught at two
// phases. Text appears a line at a time ([delay 0]); ▽ starts the next page
// without a click.
TEST(TextFrames, WindowPagesAndClickWait) {
    const std::string script = "@gra A01 4\n"
                               "@sleep 300\n"
                               "@win_open\n"
                               "@sleep 600\n"
                               ">ナギ\n"
                               "[delay 0]「灯台の明かりが、今夜もまた海の向こうまで届いているんだ。"
                               "ほら、あそこに見えるでしょう」\n"
                               "そう言って、ナギは窓の外に広がる夜の海を指差した。\n"
                               "@sleep 900\n"
                               "▽\n"
                               ">灯台守\n"
                               "<かんじ>漢字の上には小さな読みがなが乗る。\n"
                               "[2]広い間隔[1]の文字と、[col 2]色番号を付けた文字。\n"
                               "外字は「尓」の形で出る。\n"
                               "\\\n";
    // The fade runs from 240 to 560 ms; the icon shows its third frame
    // (drawn 6 pixels lower) from 1880 to 1980 ms and its first from 2100 to
    // 2200 ms.
    runTextGame(script, {{400, "text-window-fade-part"},
                         {700, "text-window-fade-done"},
                         {1300, "text-speaker-wrap-indent"},
                         {1930, "text-ruby-spacing-gaiji"},
                         {2150, "text-click-wait-next-phase"}});
}

// One run in the full-screen text mode: the screen darkens, the name line is
// printed as text on row 0 (in white: names get no colour there), rows start
// at column 0 with 。 hanging past the 52nd column, and the click-wait icon
// sits at the cursor.
TEST(TextFrames, FullScreenMode) {
    const std::string script = "@gra A01 4\n"
                               "@sleep 300\n"
                               "@mode 1\n"
                               ">ナギ\n"
                               "[delay 0]「夜の海はね、昼間とはまるで違う顔をしているでしょう。"
                               "灯台の光がそっと波の上を撫でていく」\n"
                               "全画面の文字は字下げをせず、行の頭から並ぶ。\n"
                               "\\\n";
    // The mode switch's screen update shows nothing new (the window is not
    // open yet); the name line opens the page, and the darkening fades in
    // from 1650 to 2150 ms.
    runTextGame(script, {{1850, "text-fullscreen-darkening"}, {2500, "text-fullscreen"}});
}

} // namespace
} // namespace veskar
