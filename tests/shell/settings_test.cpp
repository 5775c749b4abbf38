// Reading and writing the player's settings.

#include <gtest/gtest.h>

#include "backends/headless/ini_settings_store.h"
#include "shell/settings.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

GameDefinition demoDefinition() {
    GameDefinition d;
    d.MAKER_REG = "Software\\Maker";
    d.GAME_ID = "game";
    d.DEFAULT_NAME = "Taro";
    d.DEFAULT_NAME2 = "Hanako";
    d.FONT_NAME = "Face";
    d.VOLUME1 = -100;
    d.VOLUME2 = -200;
    d.VOLUME3 = -300;
    d.VOLUME4 = -400;
    d.TXW_COLOR_R = 10;
    d.TXW_ALPHA = 128;
    d.TXW_ALPHA2 = 200;
    return d;
}

TEST(Settings, AFreshStoreGivesTheDefaults) {
    IniSettingsStore store;
    const GameDefinition d = demoDefinition();
    SettingsSection section(store, d.MAKER_REG, d.GAME_ID);
    const Settings s = ReadSettings(section, d, 1920);
    EXPECT_EQ(s.CDDir, "NULL");
    EXPECT_FALSE(s.hasLeft);
    EXPECT_FALSE(s.hasTop);
    EXPECT_EQ(s.BGM_ENA, 1);
    EXPECT_EQ(s.SE_ENA, 1);
    EXPECT_EQ(s.CV1, 1);
    EXPECT_EQ(s.CV2, 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.SE[i], 1) << i;
    EXPECT_EQ(s.Seen, 1);
    EXPECT_EQ(s.BreakonSelect, 1);
    EXPECT_EQ(s.EFX_CUT, 1);
    EXPECT_EQ(s.FONTSIZE, 19);
    EXPECT_EQ(s.FontName, "Face");
    EXPECT_EQ(s.PlayerName, "Taro");
    EXPECT_EQ(s.PlayerName2, "Hanako");
    EXPECT_EQ(s.Vol[0], -100);
    EXPECT_EQ(s.Vol[3], -400);
    EXPECT_EQ(s.TXBG_R, 10);
    EXPECT_EQ(s.TXBG_A, 128);
    EXPECT_EQ(s.TXBG_A2, 200);
    EXPECT_EQ(s.SMode, 0);
}

TEST(Settings, StoredValuesComeFromTheGamesOwnSection) {
    IniSettingsStore store;
    const GameDefinition d = demoDefinition();
    store.write("Software\\Maker", "game", "FONTSIZE", "24");
    store.write("Software\\Maker", "other", "Delay", "1");  // another game's section
    store.write("Software\\Maker", "game", "Vol1", "loud"); // not a number: the default
    store.write("Software\\Maker", "game", "GV07", "-3");
    store.write("Software\\Maker", "game", "Left", "40");
    SettingsSection section(store, d.MAKER_REG, d.GAME_ID);
    const Settings s = ReadSettings(section, d, 1920);
    EXPECT_EQ(s.FONTSIZE, 24);
    EXPECT_EQ(s.Delay, 0);
    EXPECT_EQ(s.Vol[0], -100);
    EXPECT_EQ(s.GV[7], -3);
    EXPECT_TRUE(s.hasLeft);
    EXPECT_FALSE(s.hasTop);
}

TEST(Settings, LeftAndTopEachHaveTheirOwnDefault) {
    struct Case {
        const char* what;
        const char* left; // nullptr: not stored
        const char* top;
        Point expected;
    } cases[] = {
        {"neither stored: centred", nullptr, nullptr, {556, 214}},
        {"both stored", "40", "50", {40, 50}},
        {"only Left: centred vertically", "40", nullptr, {40, 214}},
        {"only Top: centred horizontally", nullptr, "50", {556, 50}},
        {"Left not a number: centred that way", "west", "50", {556, 50}},
    };
    for (const auto& c : cases) {
        IniSettingsStore store;
        const GameDefinition d = demoDefinition();
        if (c.left) store.write(d.MAKER_REG, d.GAME_ID, "Left", c.left);
        if (c.top) store.write(d.MAKER_REG, d.GAME_ID, "Top", c.top);
        SettingsSection section(store, d.MAKER_REG, d.GAME_ID);
        const Settings s = ReadSettings(section, d, 1920);
        // A 1920 x 1080 screen and an 808 x 651 window.
        EXPECT_EQ(windowStartPosition(s, {1920, 1080}, {808, 651}), c.expected) << c.what;
    }
}

TEST(Settings, RegistersDerivedFromStoredSettingsSurviveStartUp) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> stored;
        int s006, s050, s051;
    } cases[] = {
        {"fresh store", {}, 0, 1, 1},
        {"renamed first character", {{"PlayerName", "Jiro"}}, 1, 1, 1},
        {"renamed second character", {{"PlayerName2", "Yuki"}}, 1, 1, 1},
        {"stored default names", {{"PlayerName", "Taro"}, {"PlayerName2", "Hanako"}}, 0, 1, 1},
        {"date panel and window style", {{"DatePanel", "0"}, {"TXWStyle", "3"}}, 0, 0, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::FixtureGame game;
        game.addScript("main", "")
            .addScript(
                "_config",
                "MAKER_REG:Software\\Maker\nGAME_ID:game\nDEFAULT_NAME:Taro\nDEFAULT_NAME2:Hanako\nEND\n");
        test::HeadlessRig rig(game.write());
        for (const auto& [name, value] : c.stored)
            rig.store.write("Software\\Maker", "game", name, value);
        rig.engine.FormCreate();
        EXPECT_EQ(rig.engine.vars.S(6), c.s006);
        EXPECT_EQ(rig.engine.vars.S(50), c.s050);
        EXPECT_EQ(rig.engine.vars.S(51), c.s051);
    }
}

TEST(Settings, NarrowScreensUseTheCornerLayout) {
    const std::tuple<const char*, int, int> cases[] = {
        {"0", 600, 2},
        {"0", 601, 0},
        {"1", 600, 1},
        {"7", 1920, 7},
    };
    for (const auto& [stored, width, expected] : cases) {
        IniSettingsStore store;
        const GameDefinition d = demoDefinition();
        store.write(d.MAKER_REG, d.GAME_ID, "SMode", stored);
        SettingsSection section(store, d.MAKER_REG, d.GAME_ID);
        EXPECT_EQ(ReadSettings(section, d, width).SMode, expected) << stored << " at " << width;
    }
}

TEST(Settings, WriteSettingWritesAtOnce) {
    IniSettingsStore store;
    SettingsSection section(store, "Software\\Maker", "game");
    section.WriteSetting("RC_MODE", 3);
    section.WriteSetting("PlayerName", "Jiro");
    EXPECT_EQ(store.read("Software\\Maker", "game", "RC_MODE"), "3");
    EXPECT_EQ(section.readText("PlayerName", "x"), "Jiro");
}

TEST(Settings, ClearCounterLivesAtItsFixedPlace) {
    IniSettingsStore store;
    EXPECT_EQ(incrementClearCounter(store), 1);
    EXPECT_EQ(incrementClearCounter(store), 2);
    EXPECT_EQ(store.read("Software\\Brinmark", "pell", "Clear"), "2");
    store.write("Software\\Brinmark", "pell", "Clear", "many");
    EXPECT_EQ(incrementClearCounter(store), 1) << "a value that is not a number counts as 0";
}

} // namespace
} // namespace veskar
