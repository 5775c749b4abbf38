#include "shell/settings.h"

#include <limits>
#include <string>

#include "core/numbers.h"
#include "platform/settings_store.h"

namespace veskar {

int SettingsSection::readInt(std::string_view name, int fallback) {
    const auto stored = store_.read(keyPath_, section_, name);
    if (!stored) return fallback;
    return parseWholeInteger(*stored).value_or(fallback);
}

std::string SettingsSection::readText(std::string_view name, std::string_view fallback) {
    return store_.read(keyPath_, section_, name).value_or(std::string(fallback));
}

bool SettingsSection::has(std::string_view name) {
    const auto stored = store_.read(keyPath_, section_, name);
    return stored && parseWholeInteger(*stored);
}

void SettingsSection::WriteSetting(std::string_view name, std::string_view value) {
    store_.write(keyPath_, section_, name, value);
}

void SettingsSection::WriteSetting(std::string_view name, int value) {
    WriteSetting(name, std::to_string(value));
}

Settings ReadSettings(SettingsSection& s, const GameDefinition& d, int screenWidth) {
    Settings v;
    v.CDDir = s.readText("CDDir", "NULL");
    v.hasStoredPosition = s.has("Left") && s.has("Top");
    v.Left = s.readInt("Left", 0);
    v.Top = s.readInt("Top", 0);
    v.BGM_ENA = s.readInt("BGM_ENA", 1);
    v.SE_ENA = s.readInt("SE_ENA", 1);
    v.Delay = s.readInt("Delay", 0);
    v.GMode = s.readInt("GMode", 0);
    v.SMode = s.readInt("SMode", 0);
    v.Clear = s.readInt("Clear", 0);
    v.Seen = s.readInt("Seen", 1);
    v.BreakonSelect = s.readInt("BreakonSelect", 1);
    v.MemorySaveMode = s.readInt("MemorySaveMode", 0);
    v.FontName = s.readText("FontName", d.FONT_NAME);
    v.DirectSoundGlobal = s.readInt("DirectSoundGlobal", 0);
    v.AnimQuality = s.readInt("AnimQuality", 0);
    v.RC_MODE = s.readInt("RC_MODE", 0);
    v.WHEEL_MODE = s.readInt("WHEEL_MODE", 0);
    v.CS_SWAP = s.readInt("CS_SWAP", 0);
    v.EFX_CUT = s.readInt("EFX_CUT", 1);
    v.CONFIG_MODE = s.readInt("CONFIG_MODE", 0);
    v.DatePanel = s.readInt("DatePanel", 1);
    v.TXWStyle = s.readInt("TXWStyle", 1);
    v.CV_THROUGH = s.readInt("CV_THROUGH", 0);
    v.CV1 = s.readInt("CV1", 1);
    v.CV2 = s.readInt("CV2", 1);
    for (int i = 0; i < 5; ++i)
        v.SE[i] = s.readInt("SE" + std::to_string(i), 1);
    for (int i = 0; i < 5; ++i)
        v.SE_LVL[i] = s.readInt("SE_LVL" + std::to_string(i), 0);
    const int volumes[4] = {d.VOLUME1, d.VOLUME2, d.VOLUME3, d.VOLUME4};
    for (int i = 0; i < 4; ++i)
        v.Vol[i] = s.readInt("Vol" + std::to_string(i + 1), volumes[i]);
    v.FONTAA = s.readInt("FONTAA", 0);
    v.FONTSIZE = s.readInt("FONTSIZE", 19);
    v.FONTBold = s.readInt("FONTBold", 0);
    v.PlayerName = s.readText("PlayerName", d.DEFAULT_NAME);
    v.PlayerName2 = s.readText("PlayerName2", d.DEFAULT_NAME2);
    for (int i = 0; i < 10; ++i) {
        const std::string name = "GV0" + std::to_string(i);
        v.GV[i] = s.readInt(name, 0);
    }
    v.TXBG_R = s.readInt("TXBG_R", d.TXW_COLOR_R);
    v.TXBG_G = s.readInt("TXBG_G", d.TXW_COLOR_G);
    v.TXBG_B = s.readInt("TXBG_B", d.TXW_COLOR_B);
    v.TXBG_A = s.readInt("TXBG_A", d.TXW_ALPHA);
    v.TXBG_A2 = s.readInt("TXBG_A2", d.TXW_ALPHA2);

    // A window does not fit a screen this narrow: use the borderless corner layout.
    if (v.SMode == 0 && screenWidth <= 600) v.SMode = 2;
    return v;
}

int incrementClearCounter(SettingsStore& store) {
    SettingsSection section(store, std::string(kClearCounterKeyPath), std::string(kClearCounterSection));
    const int stored = section.readInt("Clear", 0);
    // A counter at its maximum stays there rather than turning negative.
    const int count = stored == std::numeric_limits<int>::max() ? stored : stored + 1;
    section.WriteSetting("Clear", count);
    return count;
}

} // namespace veskar
