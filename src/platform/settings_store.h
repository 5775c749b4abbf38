#pragma once
// The player's settings. The logical layout is a key path (a game
// definition's MAKER_REG such as "Software\\Brinmark"), a section below it
// (GAME_ID) and named string values. Names, paths and values are Shift-JIS
// bytes, as the engine keeps text; the store converts at its own boundary.

#include <optional>
#include <string>
#include <string_view>

namespace veskar {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> read(std::string_view keyPath, std::string_view section,
                                            std::string_view name) = 0;
    // Written at once; a failure is reported by the store on stderr and the
    // value stays in effect for this run.
    virtual void write(std::string_view keyPath, std::string_view section, std::string_view name,
                       std::string_view value) = 0;
};

} // namespace veskar
