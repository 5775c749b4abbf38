#include "shell/settings.h"

#include "platform/settings_store.h"

namespace veskar {
// Reading arrives with the settings store.
int SettingsSection::readInt(std::string_view, int fallback) { return fallback; }
std::string SettingsSection::readText(std::string_view, std::string_view fallback) { return std::string(fallback); }
void SettingsSection::WriteSetting(std::string_view, std::string_view) {}
void SettingsSection::WriteSetting(std::string_view, int) {}
Settings ReadSettings(SettingsSection&, const GameDefinition&, int) { return Settings{}; }
} // namespace veskar
