// Moving between scripts: loading, the end of a script and the call stack.

#include <iostream>

#include "core/sjis.h"
#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

bool Interpreter::loadMainScript(std::string_view name) {
    if (engine_.scripts.LoadScript(name, ScriptKind::Main)) return true;
    std::cerr << "veskar: script '" << cp932ToUtf8(name) << "' not found\n";
    trace.note("script not found: " + cp932ToUtf8(name));
    return false;
}

void Interpreter::endOfScript() {
    if (callDepth <= 0) return; // the outermost script stays at its end
    --callDepth;
    const CallStackEntry entry = callStack[static_cast<std::size_t>(callDepth)];
    if (!loadMainScript(entry.script)) {
        // The caller vanished: stay at the end, so the next step returns further.
        readPos = scriptSize;
        needLine = true;
        return;
    }
    currentScript = entry.script;
    readPos = entry.returnOffset;
    needLine = true;
}

void Interpreter::resetScriptWaits() {
    charDelay = 1;
    TextHurry = false;
    engine_.run.ClickWaitKind = 0;
    engine_.run.WaitTicks = 0;
    // The active choice is cleared here once choices exist.
    engine_.layout.textRow = 0;
    engine_.layout.textColumn = 0;
}

} // namespace veskar
