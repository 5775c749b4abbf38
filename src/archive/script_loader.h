#pragma once
// Loads scripts by name from the script archives and restores their negated
// bytes: the main script into the interpreter, definition scripts into the
// definition buffer that start-up and command readers parse line by line.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "script/interpreter.h"

namespace veskar {

class Engine;

enum class ScriptKind { Main = 1, Definition = 2 };

// Stored bytes are the two's-complement negation of the plain ones; the same
// operation restores them.
void negateBytes(std::span<std::uint8_t> bytes);

class ScriptLoader {
public:
    explicit ScriptLoader(Engine& engine);

    // Finds `name` (script overrides first), restores its bytes into the
    // buffer of `kind` and resets that buffer's position. False, with nothing
    // changed, when the script is missing, unreadable or larger than a buffer.
    bool LoadScript(std::string_view name, ScriptKind kind);

    // The next NUL-terminated line of the definition script.
    std::string ReadDefinitionLine();
    bool definitionAtEnd() const { return definitionPos >= definitionSize; }
    // The whole decoded definition script (NUL-separated lines).
    std::string_view definitionText() const;

    std::unique_ptr<std::array<std::uint8_t, kScriptBufferSize>> DefinitionBuffer;
    std::int32_t definitionSize = 0;
    std::int32_t definitionPos = 0;

private:
    // The gallery's scene list marks a scene seen whenever its script is asked for.
    void registerSceneSeen(std::string_view name);
    // The recollection registry unlocks the entries listed for a loaded script.
    void registerRecollection(std::string_view key);

    Engine& engine_;
};

// The n-th comma-separated field of `text` (from 0); empty when there are
// fewer fields. Fields are not trimmed.
std::string_view FieldOf(std::string_view text, int n);

} // namespace veskar
