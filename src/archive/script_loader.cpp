#include "archive/script_loader.h"

#include "shell/engine.h"

namespace veskar {

void negateBytes(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(0u - b);
}

ScriptLoader::ScriptLoader(Engine& engine)
    : DefinitionBuffer(std::make_unique<std::array<std::uint8_t, kScriptBufferSize>>()), engine_(engine) {}

// Loading arrives with the archive subsystem.
bool ScriptLoader::LoadScript(std::string_view, ScriptKind) { return false; }
std::string ScriptLoader::ReadDefinitionLine() { return {}; }
std::string_view ScriptLoader::definitionText() const { return {}; }
std::string_view FieldOf(std::string_view, int) { return {}; }

} // namespace veskar
