// Reading and writing the player's settings.

#include <gtest/gtest.h>

#include "backends/headless/ini_settings_store.h"
#include "shell/settings.h"

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
    EXPECT_FALSE(s.hasStoredPosition);
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
    EXPECT_FALSE(s.hasStoredPosition) << "Left without Top centres the window";
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
