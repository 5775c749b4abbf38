// The QSettings store: where a game's values live, CP932 in and out, written
// at once, and key paths from game data kept inside our folder.

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "backends/qt/qt_settings_store.h"
#include "core/sjis.h"

namespace veskar {
namespace {

TEST(QtSettingsStore, ValuesRoundTripAsCp932AndAreWrittenAtOnce) {
    QTemporaryDir root;
    QtSettingsStore store(root.path().toStdString());
    const std::string name = sjisText("PlayerName");
    const std::string value = sjisText("春日 ひかり");
    store.write("Software\\Brinmark", "pell", name, value);
    store.write("Software\\Brinmark", "pell", "Vol1", "-1200");

    const QString file = root.path() + "/veskar/Software/Brinmark/pell.ini";
    EXPECT_EQ(store.location("Software\\Brinmark", "pell"), file);
    ASSERT_TRUE(QFile::exists(file)); // no separate save step

    // Another reader of the file sees Unicode text.
    QSettings ini(file, QSettings::IniFormat);
    EXPECT_EQ(ini.value("PlayerName").toString(), QString::fromUtf8("春日 ひかり"));

    // A fresh store (the next run) reads the same bytes back.
    QtSettingsStore again(root.path().toStdString());
    EXPECT_EQ(again.read("Software\\Brinmark", "pell", name), value);
    EXPECT_EQ(again.read("Software\\Brinmark", "pell", "Vol1"), "-1200");
    EXPECT_EQ(again.read("Software\\Brinmark", "pell", "Vol2"), std::nullopt);
    EXPECT_EQ(again.read("Software\\Brinmark", "other", "Vol1"), std::nullopt);
}

TEST(QtSettingsStore, KeyPathsFromGameDataStayInsideTheSettingsFolder) {
    QTemporaryDir root;
    QtSettingsStore store(root.path().toStdString());
    const QString base = root.path() + "/veskar/";
    struct Case {
        const char* keyPath;
        const char* section;
        QString expected;
    };
    const Case cases[] = {
        {"..\\..\\etc", "game", base + "etc/game.ini"},
        {"Software/./Maker\\\\", "game", base + "Software/Maker/game.ini"},
        {"Software", "..\\x/y", base + "Software/.._x_y.ini"},
        {"", "", base + "default.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(store.location(c.keyPath, c.section), c.expected) << c.keyPath << " / " << c.section;
        store.write(c.keyPath, c.section, "Seen", "0");
        EXPECT_TRUE(QFile::exists(c.expected)) << c.expected.toStdString();
    }
}

TEST(QtSettingsStore, TextThatCp932CannotHoldReadsAsMissing) {
    QTemporaryDir root;
    const QString file = root.path() + "/veskar/M/g.ini";
    {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue("FontName", QString::fromUtf8("😀"));
        ini.setValue("CDDir", QString::fromUtf8("D:\\ゲーム"));
    }
    QtSettingsStore store(root.path().toStdString());
    EXPECT_EQ(store.read("M", "g", "FontName"), std::nullopt); // the default applies
    EXPECT_EQ(store.read("M", "g", "CDDir"), sjisText("D:\\ゲーム"));
}

} // namespace
} // namespace veskar
