// Moving between scripts: loading, the end of a script and the call stack.

#include <algorithm>

#include "core/sjis.h"
#include "script/interpreter.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

bool Interpreter::loadMainScript(std::string_view name) {
    const auto bytes = engine_.scripts.LoadScript(name);
    if (!bytes) {
        engine_.diagnostics.report("script '" + cp932ToUtf8(name) + "' not found");
        engine_.diagnostics.traceNote("script not found: " + cp932ToUtf8(name));
        return false;
    }
    discardPendingText();
    st_.loadedScript = std::string(name);
    std::copy(bytes->begin(), bytes->end(), MainScriptBuffer->begin());
    st_.scriptSize = static_cast<std::int32_t>(bytes->size());
    labelIndex.build(*bytes);
    st_.readPos = 0;
    st_.needLine = true;
    engine_.run.ScriptRunning = true;
    engine_.vars.S(reg::kBacktoPoint) = 0;
    return true;
}

bool Interpreter::returnFromCall() {
    if (st_.callDepth <= 0) return false;
    --st_.callDepth;
    const CallStackEntry entry = st_.callStack[static_cast<std::size_t>(st_.callDepth)];
    st_.needLine = true;
    if (!loadMainScript(entry.script)) {
        // The caller vanished: stay at the end, so the next step returns further.
        st_.readPos = st_.scriptSize;
        return true;
    }
    st_.currentScript = entry.script;
    st_.readPos = entry.returnOffset;
    return true;
}

void Interpreter::endOfScript() {
    // The outermost script stays at its end.
    returnFromCall();
}

void Interpreter::resetScriptWaits() {
    st_.charDelay = 1;
    TextHurry = false;
    engine_.run.ClickWaitKind = click_wait::kNone;
    engine_.run.WaitTicks = 0;
    // PENDING(choices): the active choice is cleared here.
    engine_.layout.moveCursorHome();
}

void Interpreter::setStringSlot(int slot, std::string_view text) {
    if (slot < 0 || slot >= kStringSlots) return;
    st_.stringTable[static_cast<std::size_t>(slot)] = cutText(text, kStringSlotMax);
}

const std::string& Interpreter::stringSlot(int slot) const {
    static const std::string kEmpty;
    if (slot < 0 || slot >= kStringSlots) return kEmpty;
    return st_.stringTable[static_cast<std::size_t>(slot)];
}

void Interpreter::clearStringSlots() {
    for (auto& slot : st_.stringTable)
        slot.clear();
}

} // namespace veskar
