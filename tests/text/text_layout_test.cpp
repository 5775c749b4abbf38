// The page layout: where script text lands in the page grid (wrapping,
// hanging punctuation, indentation, wide spacing, both text modes), what a
// page clear, a redraw and ruby draw, and where the glyphs land on screen.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "core/sjis.h"
#include "script/script_rig.h"
#include "shell/engine.h"
#include "text/fake_font_source.h"
#include "text/text_layout.h"

namespace veskar {
namespace {

using test::ScriptRig;
using test::sjis;
using testing::FakeFontSource;

// A grid row as text: each empty column is a '.', every stored character is
// shown in UTF-8 at its column (a two-byte character covers two columns);
// trailing empty columns are dropped.
std::string gridRow(const PageGrid& grid, int row) {
    const auto& cells = grid[static_cast<std::size_t>(row)];
    std::string out;
    for (int c = 0; c < kPageColumns;) {
        const std::uint8_t b = cells[static_cast<std::size_t>(c)];
        if (b == 0) {
            out += '.';
            ++c;
        } else if (b >= 0x80 && c + 1 < kPageColumns) {
            out += cp932ToUtf8(std::string{static_cast<char>(b), static_cast<char>(cells[c + 1u])});
            c += 2;
        } else {
            out += static_cast<char>(b);
            ++c;
        }
    }
    return out.substr(0, out.find_last_not_of('.') + 1);
}

std::string repeat(std::string_view utf8, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += utf8;
    return out;
}

// --- Lines into the grid ----------------------------------------------------

struct LineCase {
    const char* what;
    std::string script; // UTF-8, before the closing "\" line
    bool fullScreen;
    std::vector<std::string> rows; // grid rows 0 ... n-1 as gridRow shows them
};

std::vector<LineCase> lineCases() {
    const std::string kana19 = repeat("あ", 19);
    return {
        {"first character of a page in the window: row 1, indented", "あい", false, {"", "..あい"}},
        {"first character in full-screen text: row 0, no indent", "あい", true, {"あい"}},
        {"25 characters wrap the 20th to column 2 of the next row",
         kana19 + "いうえおかき",
         false,
         {"", ".." + kana19, "..いうえおかき"}},
        {"。 at the line width hangs at column 40",
         kana19 + "。か",
         false,
         {"", ".." + kana19 + "。", "..か"}},
        {"」 after a hanging 。 is at 42 and wraps",
         kana19 + "。」",
         false,
         {"", ".." + kana19 + "。", "..」"}},
        {"small kana hang too, one row-end only",
         kana19 + "っ" + "か",
         false,
         {"", ".." + kana19 + "っ", "..か"}},
        {"a wrapped row loses its leading ideographic space",
         kana19 + "。　か",
         false,
         {"", ".." + kana19 + "。", "..か"}},
        {"a script line keeps its leading ideographic space", "あ\n　か", false, {"", "..あ", "..　か"}},
        {"「 opens at column 0, its continuation at 2",
         "「" + kana19 + "いう",
         false,
         {"", "「" + kana19, "..いう"}},
        {"（ and 『 open at column 0 too", "（あ）\n『い』", false, {"", "（あ）", "『い』"}},
        // The window is open already: the first character's new page would
        // clear the spacing tag's state.
        {"wide spacing puts three characters at 2, 5 and 8",
         "*win_open\n[2]あいう[1]えお",
         false,
         {"", "..あ.い.う.えお"}},
        {"one-byte characters take one column", "ab\n\ncd", false, {"", "..ab", "", "..cd"}},
        {"a name line fills row 0 and text starts below it", ">Aki\nあ", false, {"Aki", "..あ"}},
        {"full screen prints the name line as row 0 text", ">Aki\nあ", true, {"Aki", "あ"}},
        {"full-screen rows wrap at column 40 without indent",
         repeat("あ", 21),
         true,
         {repeat("あ", 20), "あ"}},
        {"full screen keeps a wrapped row's ideographic space",
         repeat("あ", 20) + "。　か",
         true,
         {repeat("あ", 20) + "。", "　か"}},
    };
}

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.what; }

class LinesIntoTheGrid : public ::testing::TestWithParam<LineCase> {};

TEST_P(LinesIntoTheGrid, Land) {
    const LineCase& c = GetParam();
    ScriptRig rig;
    rig.script("main", c.script + "\n\\\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true; // whole lines in one step
    engine.vars.S(150) = c.fullScreen ? 1 : 0;
    rig.stepUntilClickWait();
    ASSERT_EQ(engine.run.ClickWaitKind, 1);
    for (int r = 0; r < kPageRows; ++r) {
        const std::string expected = r < static_cast<int>(c.rows.size()) ? c.rows[r] : "";
        EXPECT_EQ(gridRow(engine.layout.state().pageGrid, r), expected) << "row " << r;
    }
    for (const auto& row : engine.layout.state().secondGrid)
        for (auto b : row)
            ASSERT_EQ(b, 0);
}

INSTANTIATE_TEST_SUITE_P(TextLayout, LinesIntoTheGrid, ::testing::ValuesIn(lineCases()),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(TextLayout, NoLineStartSetIsExactlyTheThirtyThreeCodes) {
    const std::string set = sjis("　、。？！ー～）」』％♪ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヶ");
    int members = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code)
        if (isNoLineStart(static_cast<std::uint16_t>(code))) {
            ++members;
            const std::string bytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            EXPECT_NE(set.find(bytes), std::string::npos) << std::hex << code;
        }
    EXPECT_EQ(members, 33);
    // A one-byte character is judged with a zero second byte, never as a
    // member: ')' and '!' wrap like any other.
    EXPECT_FALSE(isNoLineStart(layoutCode(")")));
    EXPECT_EQ(layoutCode("A"), 0x4100);
}

TEST(TextLayout, AutomaticWrapsCloseTheLogEntryAndMarkTheRow) {
    ScriptRig rig;
    // 〓 waits in mid-line without closing the entry, so S038 can be seen.
    rig.script("main", repeat("あ", 21) + "〓" + "い\n\\\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    rig.stepUntilClickWait();
    ASSERT_EQ(engine.run.ClickWaitKind, 2);
    EXPECT_EQ(engine.vars.S(38), 1);
    // The 20th character is logged before it wraps, so it ends the first entry.
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), sjis(repeat("あ", 20)));
    EXPECT_EQ(engine.backlog.LogLineCount, 1);

    engine.run.ClickWaitKind = 0;
    rig.stepUntilClickWait();
    EXPECT_EQ(engine.vars.S(38), 0); // the line's end closed the entry
    EXPECT_EQ(std::string(engine.backlog.lineText(1)), sjis("あい"));
}

// --- On an engine with a font ----------------------------------------------------

class LayoutOnScreen : public ::testing::Test {
protected:
    LayoutOnScreen() {
        auto& d = engine.definition;
        d.TXW_OFS_X = 20, d.TXW_OFS_Y = 430, d.TX_OFS_X = 30, d.TX_OFS_Y = 24;
        d.TX_PITCH_X = 13, d.TX_PITCH_Y = 32, d.MOJI_MAX_X = 40, d.MOJI_MAX_Y = 5;
        d.TX2_OFS_X = 60, d.TX2_OFS_Y = 60, d.TX2_PITCH_X = 14, d.TX2_PITCH_Y = 36;
        d.MOJI_MAX2_X = 40, d.MOJI_MAX2_Y = 3;
        engine.settings.FONTSIZE = 24;
        engine.settings.FontName = "TestFace";
        engine.vars.S(37) = 0xFFFFFF;
        engine.pictures.createScreenPictures();
        engine.pictures.nextScreen.fill(kBackground);
        host.windowPicture().fill(kDisplay);
        engine.glyphs.SetupTextFont(Picture());
        engine.run.WindowShown = true;
        host.attach(engine);
    }

    // `picture` with the glyph of `ch` drawn at (x, y) in the current colour.
    Picture withGlyph(Picture picture, std::string_view ch, int x, int y) {
        engine.glyphs.PrepareGlyph(ch);
        engine.glyphs.DrawGlyph(picture, x, y);
        return picture;
    }

    // The smallest rectangle holding every pixel where a and b differ.
    struct Box {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    };
    static Box differences(const Picture& a, const Picture& b) {
        Box box;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    box.left = std::min(box.left, x), box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x), box.bottom = std::max(box.bottom, y);
                }
        return box;
    }

    static constexpr Colour kBackground = makeColour(10, 60, 90);
    static constexpr Colour kDisplay = makeColour(200, 0, 0);

    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store;
    VirtualAudioDevice audio{host.clock()};
    FakeFontSource fonts;
    Engine engine{Platform{host, host.clock(), store, audio, &fonts}, EngineOptions{}};
};

TEST_F(LayoutOnScreen, AGlyphLandsAtItsCellAndOnlyItsCellReachesTheDisplay) {
    const Picture before = engine.pictures.nextScreen;
    engine.layout.state().textColumn = 6;
    engine.layout.state().textRow = 2;
    engine.layout.emitChar("\x88\xA2", 2); // 阿 (0x88A2)
    // (20 + 30 + 6 x 13, 430 + 24 + 2 x 32)
    EXPECT_EQ(engine.pictures.nextScreen, withGlyph(before, "\x88\xA2", 128, 518));
    EXPECT_FALSE(engine.layout.state().pageEmpty);
    EXPECT_EQ(engine.layout.state().textColumn, 8);
    EXPECT_EQ(engine.layout.pageChars, 1);

    const Picture& display = host.windowPicture();
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const bool inCell = x >= 128 && x < 128 + 32 && y >= 518 && y < 518 + 35;
            ASSERT_EQ(display.pixel(x, y), inCell ? engine.pictures.nextScreen.pixel(x, y) : kDisplay)
                << x << "," << y;
        }
}

TEST_F(LayoutOnScreen, FullScreenTextUsesItsOwnOriginAndPitch) {
    engine.vars.S(150) = 1;
    const Picture before = engine.pictures.nextScreen;
    engine.layout.emitChar("\x88\xA2", 2);
    engine.layout.emitChar("A", 1);
    Picture expected = withGlyph(before, "\x88\xA2", 60, 60);
    expected = withGlyph(expected, "A", 60 + 2 * 14, 60);
    EXPECT_EQ(engine.pictures.nextScreen, expected);
    EXPECT_EQ(gridRow(engine.layout.state().pageGrid, 0), "阿A");
}

TEST_F(LayoutOnScreen, CharactersOutsideTheGridAreDrawnButNotStored) {
    struct Case {
        const char* what;
        int column, row;
        const char* ch;
        bool stored;
    };
    const Case cases[] = {
        {"last row", 2, kPageRows - 1, "\x88\xA2", true},
        {"row past the grid", 2, kPageRows, "\x88\xA2", false},
        {"far row", 2, 1 << 28, "\x88\xA2", false},
        {"two-byte character at the last column", kPageColumns - 1, 3, "\x88\xA2", false},
        {"one-byte character at the last column", kPageColumns - 1, 3, "A", true},
        {"two-byte character ending at the last column", kPageColumns - 2, 3, "\x88\xA2", true},
    };
    engine.definition.MOJI_MAX_X = 200; // no wrapping in the way
    engine.definition.TX_PITCH_Y = 1;   // every row on screen
    engine.definition.TX_PITCH_X = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine.layout.resetPage();
        engine.run.WindowShown = true;
        engine.pictures.nextScreen.fill(kBackground);
        const Picture before = engine.pictures.nextScreen;
        engine.layout.state().textColumn = c.column;
        engine.layout.state().textRow = c.row;
        engine.layout.emitChar(c.ch, static_cast<int>(std::string_view(c.ch).size()));
        int storedBytes = 0;
        for (const auto& row : engine.layout.state().pageGrid)
            for (auto b : row)
                storedBytes += b != 0;
        EXPECT_EQ(storedBytes, c.stored ? static_cast<int>(std::string_view(c.ch).size()) : 0);
        if (c.row < 600) {
            EXPECT_NE(engine.pictures.nextScreen, before); // drawn all the same
        }
        EXPECT_EQ(engine.layout.pageChars, 1);
    }
}

TEST_F(LayoutOnScreen, GlyphsPastTheScreenEdgesAreClipped) {
    // A cell reaching past the right and bottom edges is drawn where it is
    // visible; cells wholly off the screen leave the pictures alone.
    engine.definition.MOJI_MAX_X = 200;
    const Picture blank = engine.pictures.nextScreen;
    engine.layout.state().textColumn = 56; // x = 50 + 56 x 13 = 778: 22 pixels inside
    engine.layout.state().textRow = 4;     // y = 454 + 4 x 32 = 582: 18 rows inside
    engine.layout.emitChar("\x88\xA2", 2);
    const Box box = differences(engine.pictures.nextScreen, blank);
    EXPECT_NE(box.right, -1);
    EXPECT_GE(box.left, 778);
    EXPECT_GE(box.top, 582);

    const Picture screen = engine.pictures.nextScreen, display = host.windowPicture();
    // Positions far out must neither wrap round nor overflow into the screen.
    engine.definition.MOJI_MAX_X = std::numeric_limits<int>::max();
    const struct { int column, row; } offScreen[] = {{0, 1000}, {-10, 1}, {70, 1}, {2, -30}, {1 << 30, 1}};
    for (const auto& at : offScreen) {
        engine.layout.state().textColumn = at.column;
        engine.layout.state().textRow = at.row;
        engine.layout.emitChar("\x88\xA2", 2);
        EXPECT_EQ(engine.pictures.nextScreen, screen) << at.column << "," << at.row;
        EXPECT_EQ(host.windowPicture(), display);
    }
}

TEST_F(LayoutOnScreen, RedrawDrawsTheStoredWindowRows) {
    // Rows 1 ... 4 of the window are drawn; row 5 is past MOJI_MAX_Y.
    auto& layout = engine.layout;
    layout.state().textRow = 1;
    for (const char* ch : {"\x88\xA2", "A", "\x82\xA0"})
        layout.emitChar(ch, static_cast<int>(std::string_view(ch).size()));
    layout.state().textColumn = 40; // 。 hanging at the line width is redrawn too
    layout.emitChar("\x81\x42", 2);
    layout.state().textColumn = 4;
    layout.state().textRow = 4;
    layout.emitChar("\x88\xA2", 2);
    layout.state().textColumn = 4;
    layout.state().textRow = 5;
    layout.emitChar("\x88\xA2", 2);
    ASSERT_EQ(gridRow(layout.state().pageGrid, 5), "....阿");

    engine.pictures.nextScreen.fill(kBackground);
    host.windowPicture().fill(kBackground);
    layout.RedrawWindowText();

    Picture expected(800, 600);
    expected.fill(kBackground);
    expected = withGlyph(expected, "\x88\xA2", 50 + 2 * 13, 486);
    expected = withGlyph(expected, "A", 50 + 4 * 13, 486);
    expected = withGlyph(expected, "\x82\xA0", 50 + 5 * 13, 486);
    expected = withGlyph(expected, "\x81\x42", 50 + 40 * 13, 486);
    expected = withGlyph(expected, "\x88\xA2", 50 + 4 * 13, 454 + 4 * 32);
    EXPECT_EQ(engine.pictures.nextScreen, expected);
    EXPECT_EQ(host.windowPicture(), expected);
}

TEST_F(LayoutOnScreen, FullScreenRedrawTakesTheLastColourAndItsOwnRows) {
    // Rows 0 ... 2 in full-screen text; the name row is text here.
    engine.vars.S(150) = 1;
    auto& layout = engine.layout;
    for (int row = 0; row < 4; ++row) {
        layout.state().textColumn = 1;
        layout.state().textRow = row;
        layout.emitChar("\x88\xA2", 2);
    }
    engine.pictures.nextScreen.fill(kBackground);
    engine.glyphs.SetTextColour(4);
    layout.RedrawWindowText();

    Picture expected(800, 600);
    expected.fill(kBackground);
    engine.glyphs.SetTextColour(4);
    for (int row = 0; row < 3; ++row)
        expected = withGlyph(expected, "\x88\xA2", 60 + 14, 60 + row * 36);
    EXPECT_EQ(engine.pictures.nextScreen, expected);
    EXPECT_EQ(engine.glyphs.LastTileColour, makeColour(255, 255, 0));
}

TEST_F(LayoutOnScreen, AnEmptyPageRedrawsNothing) {
    engine.layout.emitChar("\x88\xA2", 2);
    engine.layout.state().pageEmpty = true; // as after the window closed or opened
    engine.pictures.nextScreen.fill(kBackground);
    const Picture before = engine.pictures.nextScreen;
    engine.layout.RedrawWindowText();
    EXPECT_EQ(engine.pictures.nextScreen, before);
    EXPECT_EQ(gridRow(engine.layout.state().pageGrid, 1), "..阿");
}

TEST_F(LayoutOnScreen, ResetPageEmptiesThePageWithoutDrawing) {
    auto& layout = engine.layout;
    layout.state().wideSpacing = 1;
    layout.state().textColorIndex = 3;
    for (int i = 0; i < 21; ++i)
        layout.emitChar("\x88\xA2", 2);
    layout.state().secondGrid[4][7] = 1;
    ASSERT_EQ(engine.vars.S(38), 1);
    const Picture screen = engine.pictures.nextScreen, display = host.windowPicture();
    // Positions far out must neither wrap round nor overflow into the screen.
    engine.definition.MOJI_MAX_X = std::numeric_limits<int>::max();

    layout.resetPage();
    EXPECT_EQ(engine.pictures.nextScreen, screen);
    EXPECT_EQ(host.windowPicture(), display);
    EXPECT_EQ(layout.state().pageGrid, PageGrid{});
    EXPECT_EQ(layout.state().secondGrid, PageGrid{});
    EXPECT_TRUE(layout.state().pageEmpty);
    EXPECT_EQ(engine.vars.S(38), 0);
    EXPECT_EQ(layout.pageChars, 0);
    EXPECT_EQ(layout.state().textColorIndex, 0);
    // The next character starts the page again, with normal spacing.
    layout.emitChar("\x88\xA2", 2);
    layout.emitChar("\x88\xA2", 2);
    EXPECT_EQ(gridRow(layout.state().pageGrid, 1), "..阿阿");
}

TEST_F(LayoutOnScreen, NewPageInTheWindowPutsTheCleanWindowBack) {
    engine.window.ComposedWindow.resize(760, 160);
    engine.window.ComposedWindow.fill(makeColour(1, 2, 3));
    engine.interp.state().nameplateText = "Aki";
    engine.vars.S(37) = 0x00FF00;
    engine.glyphs.SetTextColour(0);
    engine.layout.emitChar("\x88\xA2", 2);

    engine.layout.newPage();
    const Picture& next = engine.pictures.nextScreen;
    for (int y = 0; y < 600; y += 5)
        for (int x = 0; x < 800; x += 5) {
            const bool inWindow = x >= 20 && x < 780 && y >= 430 && y < 590;
            ASSERT_EQ(next.pixel(x, y), inWindow ? makeColour(1, 2, 3) : kBackground) << x << "," << y;
            ASSERT_EQ(host.windowPicture().pixel(x, y), inWindow ? makeColour(1, 2, 3) : kDisplay);
        }
    EXPECT_EQ(engine.interp.state().nameplateText, "");
    EXPECT_EQ(engine.vars.S(37), 0xFFFFFF);
    EXPECT_EQ(engine.glyphs.LastTileColour, makeColour(255, 255, 255));
    EXPECT_TRUE(engine.layout.state().pageEmpty);
}

TEST_F(LayoutOnScreen, TheFirstCharacterOpensTheWindowAtOnceButFadesTheFullScreenIn) {
    struct Case {
        const char* what;
        bool fullScreen;
        bool skip;
        bool fades;
    };
    const Case cases[] = {
        {"window", false, false, false},
        {"full screen", true, false, true},
        {"full screen while skipping", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine.vars.S(150) = c.fullScreen ? 1 : 0;
        engine.run.SkipActive = c.skip;
        engine.run.WindowShown = false;
        engine.window.DarkenedScreen.resize(800, 600);
        engine.window.DarkenedScreen.fill(makeColour(5, 5, 5));
        engine.pictures.nextScreen.fill(kBackground);
        const std::uint32_t start = host.clock().tickCount();

        engine.layout.emitChar("\x88\xA2", 2);
        EXPECT_TRUE(engine.run.WindowShown);
        const std::uint32_t took = host.clock().tickCount() - start;
        // Step 24 per 40 ms period: 11 periods to pass 256.
        if (c.fades)
            EXPECT_EQ(took, 11u * 40u);
        else
            EXPECT_EQ(took, 0u);
        if (c.fullScreen) {
            // The darkened screen with the character on it, shown whole.
            const Picture expected = withGlyph(engine.window.DarkenedScreen, "\x88\xA2", 60, 60);
            EXPECT_EQ(engine.pictures.nextScreen, expected);
            EXPECT_EQ(host.windowPicture(), expected);
            EXPECT_EQ(gridRow(engine.layout.state().pageGrid, 0), "阿");
        } else {
            EXPECT_EQ(gridRow(engine.layout.state().pageGrid, 1), "..阿");
        }
    }
}

TEST_F(LayoutOnScreen, RubyStandsOverTheCharacterPutNext) {
    struct Case {
        const char* what;
        bool fullScreen;
        int column, row;
        int cellColumn, cellRow; // where the ruby's cell is
    };
    const Case cases[] = {
        {"page start in the window", false, 0, 0, 2, 1}, {"mid-row", false, 6, 2, 6, 2},
        {"row start after a line", false, 0, 3, 2, 3},   {"full row continues below", false, 40, 2, 2, 3},
        {"hanging column stays", false, 41, 2, 41, 2},   {"page start in full screen", true, 0, 0, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine.vars.S(150) = c.fullScreen ? 1 : 0;
        engine.layout.resetPage();
        engine.layout.state().textColumn = c.column;
        engine.layout.state().textRow = c.row;
        engine.pictures.nextScreen.fill(kBackground);
        const Picture before = engine.pictures.nextScreen;
        engine.layout.DrawRuby("\x82\xA9\x82\xF1"); // かん

        const auto& g = engine.layout.geometry();
        const int x = g.originX + c.cellColumn * g.pitchX + 3;
        const int y = g.originY + c.cellRow * g.pitchY - 7;
        // The fake font at 9 pixels: ascent 6, black box 2 x 3 whose top is
        // 3 above the baseline, one pixel right of the pen.
        const Box box = differences(engine.pictures.nextScreen, before);
        EXPECT_EQ(box.left, x + 1);
        EXPECT_EQ(box.top, y + 3);
        EXPECT_EQ(box.bottom, y + 5);
        EXPECT_EQ(fonts.size, 9);
        EXPECT_EQ(fonts.face, "TestFace");
        EXPECT_FALSE(fonts.bold);
        // On the display as well.
        Picture display(800, 600);
        display.fill(kDisplay);
        const Box shown = differences(host.windowPicture(), display);
        EXPECT_EQ(shown.left, box.left);
        EXPECT_EQ(shown.top, box.top);
        host.windowPicture().fill(kDisplay);
        // The window's page start moves below the name row; nothing else moves.
        EXPECT_EQ(engine.layout.state().textRow, c.row == 0 && !c.fullScreen ? 1 : c.row);
        EXPECT_EQ(engine.layout.state().textColumn, c.column);
        // Not part of the page.
        EXPECT_EQ(engine.layout.state().pageGrid, PageGrid{});
        EXPECT_TRUE(engine.layout.state().pageEmpty);
    }
}

} // namespace
} // namespace veskar

namespace veskar {
namespace {

// A fixture game on a headless engine that draws glyphs with the fake font.
class GameWithFont : public ::testing::Test {
protected:
    Engine& start(std::string_view mainScript) {
        game.addScript("main", mainScript);
        game.addScript("_config", ScriptRig::kTextLayoutDefinition);
        game.addEntry("vk_gra.vsk", "blank", "x");
        engine = std::make_unique<Engine>(Platform{host, host.clock(), store, audio, &fonts},
                                          EngineOptions{game.write(), 1});
        host.attach(*engine);
        engine->FormCreate();
        engine->AppIdle();
        return *engine;
    }

    void stepUntilClickWait() {
        for (int i = 0; i < 100 && engine->run.ClickWaitKind == 0; ++i)
            engine->interp.runStep();
    }

    test::FixtureGame game;
    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store;
    VirtualAudioDevice audio{host.clock()};
    FakeFontSource fonts;
    std::unique_ptr<Engine> engine;
};

TEST_F(GameWithFont, AfterClosingAndOpeningTheWindowARedrawShowsNoText) {
    auto& e = start("あいう\n*win_close\n*win_open\n\\\n");
    e.run.SkipActive = true;
    stepUntilClickWait();
    ASSERT_EQ(e.run.ClickWaitKind, 1);
    EXPECT_TRUE(e.run.WindowShown);
    EXPECT_EQ(gridRow(e.layout.state().pageGrid, 1), "..あいう"); // kept, but not shown
    EXPECT_TRUE(e.layout.state().pageEmpty);

    const Picture before = e.pictures.nextScreen;
    e.layout.RedrawWindowText();
    EXPECT_EQ(e.pictures.nextScreen, before);
    // What a redraw would have drawn had the page not been emptied.
    e.layout.state().pageEmpty = false;
    e.layout.RedrawWindowText();
    EXPECT_NE(e.pictures.nextScreen, before);
}

} // namespace
} // namespace veskar
