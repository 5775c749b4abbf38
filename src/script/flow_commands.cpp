// Commands that move between scripts: chain, call and end.

#include "core/diagnostics.h"
#include "core/sjis.h"
#include "script/commands.h"
#include "shell/engine.h"

namespace veskar {

namespace {
struct ScriptTarget {
    std::string_view name;
    std::string_view label; // empty: none
    bool hasLabel = false;
};

// The name starts at `nameAt`; a blank or ":" found from the next byte up to
// `scanEnd` ends it, and the text after a ":" is a label.
ScriptTarget parseTarget(std::string_view line, std::size_t nameAt, std::size_t scanEnd) {
    ScriptTarget target;
    if (nameAt >= line.size()) return target;
    std::size_t end = line.size();
    for (std::size_t i = nameAt + 1; i < line.size() && i <= scanEnd; ++i) {
        if (line[i] == ' ' || line[i] == ':') {
            end = i;
            break;
        }
    }
    target.name = line.substr(nameAt, end - nameAt);
    if (end < line.size() && line[end] == ':') {
        target.hasLabel = true;
        target.label = line.substr(end + 1);
    }
    return target;
}

std::string fitScriptName(std::string_view name, Diagnostics& diagnostics) {
    if (name.size() <= kScriptNameMax) return std::string(name);
    diagnostics.report("script name '" + cp932ToUtf8(name) + "' is longer than " +
                       std::to_string(kScriptNameMax) + " bytes; it is cut");
    return std::string(name.substr(0, kScriptNameMax));
}
} // namespace

Flow Commands::chain(const CommandCall& call) {
    auto& interp = engine_.interp;
    auto& st = interp.state();
    st.callDepth = 0;
    const ScriptTarget target = parseTarget(call.line, static_cast<std::size_t>(call.row.argsAt), 127);
    const std::string name = fitScriptName(target.name, engine_.diagnostics);
    interp.resetScriptWaits();
    // A missing script leaves the old one running after this line.
    if (!interp.loadMainScript(name)) return Flow::EndStep;
    st.currentScript = name;
    if (target.hasLabel) interp.gotoLabel(target.label);
    return Flow::EndStep;
}

Flow Commands::call(const CommandCall& call) {
    auto& interp = engine_.interp;
    auto& st = interp.state();
    const ScriptTarget target = parseTarget(call.line, static_cast<std::size_t>(call.row.argsAt), 99);
    if (st.callDepth >= kCallStackSize) {
        engine_.diagnostics.report("calls nest deeper than " + std::to_string(kCallStackSize) +
                                   "; the call of '" + cp932ToUtf8(target.name) + "' is refused");
        engine_.diagnostics.traceNote("call refused: nested deeper than 9");
        return Flow::EndStep;
    }
    std::string name;
    if (!call.args.empty() && call.args[0] == '$') {
        // "$n" names the script by a string slot.
        const char digit = call.args.size() > 1 ? call.args[1] : '0';
        const int slot = digit >= '0' && digit <= '9' ? digit - '0' : 0;
        name = fitScriptName(interp.stringSlot(slot), engine_.diagnostics);
    } else {
        name = fitScriptName(target.name, engine_.diagnostics);
    }
    auto& entry = st.callStack[static_cast<std::size_t>(st.callDepth)];
    entry.script = st.currentScript;
    entry.returnOffset = st.readPos;
    if (interp.loadMainScript(name)) {
        st.currentScript = name;
        interp.resetScriptWaits();
        ++st.callDepth;
    }
    // In the new script, or in the old one when the load failed.
    if (target.hasLabel) interp.gotoLabel(target.label);
    return Flow::EndStep;
}

Flow Commands::end(const CommandCall&) {
    if (!engine_.interp.returnFromCall()) endSceneReplay();
    return Flow::EndStep;
}

} // namespace veskar
