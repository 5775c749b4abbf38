#pragma once
// The player's settings through QSettings: on Windows the registry under
// HKEY_CURRENT_USER\<key path>\<section>; elsewhere one INI file per game,
// <config folder>/veskar/<key path as folders>/<section>.ini. Names and values
// arrive as CP932 bytes and are stored as Unicode.

#include <QString>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/settings_store.h"

class QSettings;

namespace veskar {

class QtSettingsStore : public SettingsStore {
public:
    // `iniRoot` replaces the user's config folder (tests use it); the registry
    // on Windows ignores it.
    explicit QtSettingsStore(std::optional<std::filesystem::path> iniRoot = std::nullopt);
    ~QtSettingsStore() override;

    std::optional<std::string> read(std::string_view keyPath, std::string_view section,
                                    std::string_view name) override;
    void write(std::string_view keyPath, std::string_view section, std::string_view name,
               std::string_view value) override;

    // The INI file (or registry key) that holds one game's values.
    QString location(std::string_view keyPath, std::string_view section) const;

private:
    QSettings& open(std::string_view keyPath, std::string_view section);

    std::optional<std::filesystem::path> iniRoot_;
    std::map<std::pair<std::string, std::string>, std::unique_ptr<QSettings>> open_;
};

} // namespace veskar
