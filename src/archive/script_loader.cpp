#include "archive/script_loader.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "core/sjis.h"
#include "shell/engine.h"

namespace veskar {

void negateBytes(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(0u - b);
}

ScriptLoader::ScriptLoader(Engine& engine)
    : DefinitionBuffer(std::make_unique<std::array<std::uint8_t, kScriptBufferSize>>()), engine_(engine) {}

// Filled in with the gallery, which builds the scene list.
void ScriptLoader::registerSceneSeen(std::string_view) {}

// Filled in with the recollection menu, which builds the lists it unlocks.
void ScriptLoader::registerRecollection(std::string_view) {}

bool ScriptLoader::LoadScript(std::string_view name, ScriptKind kind) {
    const std::string key = upperAscii(name);
    registerSceneSeen(name);
    engine_.interp.discardPendingText();

    const auto entry = engine_.archives.FindEntry(search::kScripts, key);
    if (!entry) return false;
    registerRecollection(key);

    if (entry->size > kScriptBufferSize) {
        std::cerr << "veskar: script '" << cp932ToUtf8(name) << "' in " << entry->path.string() << " is "
                  << entry->size << " bytes, more than the " << kScriptBufferSize
                  << "-byte script buffer; it is not loaded\n";
        return false;
    }
    // Read before touching any state, so that a failed read changes nothing.
    auto bytes = engine_.archives.readEntry(*entry);
    if (!bytes) return false;
    negateBytes(*bytes);

    if (kind == ScriptKind::Main) {
        Interpreter& interp = engine_.interp;
        interp.loadedScript = std::string(name);
        std::copy(bytes->begin(), bytes->end(), interp.MainScriptBuffer->begin());
        interp.scriptSize = static_cast<std::int32_t>(bytes->size());
        interp.labelIndex.build(*bytes);
        interp.readPos = 0;
        interp.needLine = true;
        engine_.run.ScriptRunning = true;
        engine_.vars.S(10) = 0;
    } else {
        std::copy(bytes->begin(), bytes->end(), DefinitionBuffer->begin());
        definitionSize = static_cast<std::int32_t>(bytes->size());
        definitionPos = 0;
    }
    return true;
}

std::string ScriptLoader::ReadDefinitionLine() {
    if (definitionPos < 0 || definitionPos >= definitionSize) return {};
    const char* text = reinterpret_cast<const char*>(DefinitionBuffer->data());
    const auto start = static_cast<std::size_t>(definitionPos);
    const auto end = static_cast<std::size_t>(definitionSize);
    const void* nul = std::memchr(text + start, 0, end - start);
    const std::size_t lineEnd = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : end;
    // A last line without its NUL still ends at the script's end.
    definitionPos = static_cast<std::int32_t>(std::min(lineEnd + 1, end));
    return std::string(text + start, lineEnd - start);
}

std::string_view ScriptLoader::definitionText() const {
    return {reinterpret_cast<const char*>(DefinitionBuffer->data()),
            static_cast<std::size_t>(definitionSize)};
}

std::string_view FieldOf(std::string_view text, int n) {
    if (n < 0) return {};
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    const std::size_t end = text.find(',', start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace veskar
