// Labels and blocks, looked up in the index built when the script was loaded.

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
    const std::int32_t pos = labelIndex.nextLineStartingWith(from, byte);
    return pos < 0 ? kNoLine : pos;
}

std::int32_t Interpreter::findNamedBlockEnd(std::int32_t from, std::string_view name) const {
    const std::int32_t pos = labelIndex.findNamedBlockEnd(from, name);
    return pos < 0 ? kNoLine : pos;
}

std::int32_t Interpreter::findNamedBlockStart(std::int32_t from, std::string_view name) const {
    const std::int32_t pos = labelIndex.findNamedBlockStart(from, name);
    return pos < 0 ? kNoLine : pos;
}

std::int32_t Interpreter::findLabel(std::string_view name) const { return labelIndex.findLabel(name); }

bool Interpreter::gotoLabel(std::string_view name) {
    const std::int32_t target = findLabel(name);
    if (target < 0) {
        engine_.diagnostics.scriptError("label '" + cp932ToUtf8(name) + "' not found in script '" +
                                        cp932ToUtf8(st_.loadedScript) + "'");
        engine_.diagnostics.traceNote("label not found: " + cp932ToUtf8(name));
        return false;
    }
    st_.readPos = target;
    st_.needLine = true;
    return true;
}

} // namespace veskar
