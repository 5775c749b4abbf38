#pragma once
// Finds scripts by name in the script archives and restores their negated
// bytes. A main script's bytes are handed to whoever runs it; a definition
// script is kept in the definition buffer, which start-up and the readers of
// definition scripts parse line by line.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

class Archives;
class Diagnostics;

// The most bytes a script may have: the size of each script buffer.
constexpr std::size_t kScriptBufferSize = 262144;

// Stored bytes are the two's-complement negation of the plain ones; the same
// operation restores them.
void negateBytes(std::span<std::uint8_t> bytes);

class ScriptLoader {
public:
    ScriptLoader(const Archives& archives, Diagnostics& diagnostics);

    // Finds `name` (script overrides first) and returns its restored bytes;
    // nothing when the script is missing, unreadable or larger than a buffer.
    std::optional<std::vector<std::uint8_t>> LoadScript(std::string_view name);

    // Loads `name` into the definition buffer and rewinds it. False, with the
    // buffer unchanged, when LoadScript finds nothing.
    bool LoadDefinition(std::string_view name);

    // The next NUL-terminated line of the definition script.
    std::string ReadDefinitionLine();
    bool definitionAtEnd() const { return definitionPos >= definitionSize; }
    // The whole decoded definition script (NUL-separated lines).
    std::string_view definitionText() const;

    std::unique_ptr<std::array<std::uint8_t, kScriptBufferSize>> DefinitionBuffer;
    std::int32_t definitionSize = 0;
    std::int32_t definitionPos = 0;

private:
    // PENDING(gallery): the scene list marks a scene seen whenever its script is asked for.
    void registerSceneSeen(std::string_view) {}
    // PENDING(recollection): the registry unlocks the entries listed for a loaded script.
    void registerRecollection(std::string_view) {}

    const Archives& archives_;
    Diagnostics& diagnostics_;
};

// The n-th comma-separated field of `text` (from 0); empty when there are
// fewer fields. Fields are not trimmed.
std::string_view FieldOf(std::string_view text, int n);

} // namespace veskar
