#include "archive/script_loader.h"

#include <algorithm>
#include <cstring>

#include "archive/archives.h"
#include "core/diagnostics.h"
#include "core/sjis.h"

namespace veskar {

void negateBytes(std::span<std::uint8_t> bytes) {
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(0u - b);
}

ScriptLoader::ScriptLoader(const Archives& archives, Diagnostics& diagnostics)
    : DefinitionBuffer(std::make_unique<std::array<std::uint8_t, kScriptBufferSize>>()), archives_(archives),
      diagnostics_(diagnostics) {}

std::optional<std::vector<std::uint8_t>> ScriptLoader::LoadScript(std::string_view name) {
    const std::string key = upperAscii(name);
    registerSceneSeen(name);

    const auto entry = archives_.FindEntry(search::kScripts, key);
    if (!entry) return std::nullopt;
    registerRecollection(key);

    if (entry->size > kScriptBufferSize) {
        diagnostics_.report("script '" + cp932ToUtf8(name) + "' in " + entry->path.string() + " is " +
                            std::to_string(entry->size) + " bytes, more than the " +
                            std::to_string(kScriptBufferSize) + "-byte script buffer; it is not loaded");
        return std::nullopt;
    }
    auto bytes = archives_.readEntry(*entry);
    if (!bytes) return std::nullopt;
    negateBytes(*bytes);
    return bytes;
}

bool ScriptLoader::LoadDefinition(std::string_view name) {
    const auto bytes = LoadScript(name);
    if (!bytes) return false;
    std::copy(bytes->begin(), bytes->end(), DefinitionBuffer->begin());
    definitionSize = static_cast<std::int32_t>(bytes->size());
    definitionPos = 0;
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
