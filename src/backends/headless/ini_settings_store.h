#pragma once
// Settings kept in an INI file (or only in memory when no file is given).
// Sections are "MAKER_REG\GAME_ID"; names and values are stored as UTF-8.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace veskar {

class IniSettingsStore : public SettingsStore {
public:
    // Without a path nothing is read or written to disk.
    explicit IniSettingsStore(std::optional<std::filesystem::path> path = std::nullopt);

    std::optional<std::string> read(std::string_view keyPath, std::string_view section,
                                    std::string_view name) override;
    void write(std::string_view keyPath, std::string_view section, std::string_view name,
               std::string_view value) override;

private:
    static std::string sectionName(std::string_view keyPath, std::string_view section);
    void load();
    void save();

    std::optional<std::filesystem::path> path_;
    // section (UTF-8) -> name (UTF-8) -> value (UTF-8)
    std::map<std::string, std::map<std::string, std::string>> values_;
};

} // namespace veskar
