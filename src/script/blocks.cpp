// Labels and blocks: linear scans of the script text.

#include <cstring>

#include "core/sjis.h"
#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

std::string_view Interpreter::scriptLineAt(std::int32_t pos) const {
    if (pos < 0 || pos >= st_.scriptSize) return {};
    const char* start = reinterpret_cast<const char*>(MainScriptBuffer->data()) + pos;
    return {start, strnlen(start, static_cast<std::size_t>(st_.scriptSize - pos))};
}

std::int32_t Interpreter::lineAfter(std::int32_t pos) const {
    if (pos < 0 || pos >= st_.scriptSize) return pos;
    return std::min(pos + static_cast<std::int32_t>(scriptLineAt(pos).size()) + 1, st_.scriptSize);
}

std::int32_t Interpreter::nextLineStartingWith(std::int32_t from, std::uint8_t byte) const {
    const auto* buffer = MainScriptBuffer->data();
    for (std::int32_t pos = std::max(from, 0); pos < st_.scriptSize; ++pos) {
        if (buffer[pos] == byte && (pos == 0 || buffer[pos - 1] == 0)) return pos;
    }
    return kNoLine;
}

std::int32_t Interpreter::findNamedBlockEnd(std::int32_t from, std::string_view name) const {
    for (std::int32_t pos = nextLineStartingWith(from, '}'); pos < st_.scriptSize;
         pos = nextLineStartingWith(pos + 1, '}')) {
        const std::string_view text = scriptLineAt(pos);
        if (text.size() >= 2 && text[1] == ':' && equalsIgnoreAsciiCase(text.substr(2), name)) return pos;
    }
    return kNoLine;
}

std::int32_t Interpreter::findNamedBlockStart(std::int32_t from, std::string_view name) const {
    for (std::int32_t pos = nextLineStartingWith(from, '{'); pos < st_.scriptSize;
         pos = nextLineStartingWith(pos + 1, '{')) {
        const std::string_view text = scriptLineAt(pos);
        if (text.size() >= 2 && text[1] == ':' && startsWithIgnoreAsciiCase(text.substr(2), name)) return pos;
    }
    return kNoLine;
}

std::int32_t Interpreter::findLabel(std::string_view name) const {
    const auto* buffer = MainScriptBuffer->data();
    const auto size = static_cast<std::size_t>(st_.scriptSize);
    // Any ":" followed by the name and a NUL counts, so "{:name" serves as a label too.
    for (std::size_t pos = 0; pos < size; ++pos) {
        if (buffer[pos] != ':') continue;
        const std::size_t end = pos + 1 + name.size();
        if (end >= size || buffer[end] != 0) continue;
        const std::string_view candidate(reinterpret_cast<const char*>(buffer) + pos + 1, name.size());
        if (equalsIgnoreAsciiCase(candidate, name)) return static_cast<std::int32_t>(end + 1);
    }
    return -1;
}

bool Interpreter::gotoLabel(std::string_view name) {
    const std::int32_t target = findLabel(name);
    if (target < 0) {
        engine_.diagnostics.report("label '" + cp932ToUtf8(name) + "' not found in script '" +
                                   cp932ToUtf8(st_.loadedScript) + "'");
        engine_.diagnostics.traceNote("label not found: " + cp932ToUtf8(name));
        return false;
    }
    st_.readPos = target;
    st_.needLine = true;
    return true;
}

} // namespace veskar
