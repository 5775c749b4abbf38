// Commands that move between scripts: chain, call and end.

#include <iostream>

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

std::string fitScriptName(std::string_view name) {
    if (name.size() <= kScriptNameMax) return std::string(name);
    std::cerr << "veskar: script name '" << cp932ToUtf8(name) << "' is longer than " << kScriptNameMax
              << " bytes; it is cut\n";
    return std::string(name.substr(0, kScriptNameMax));
}
} // namespace

int Commands::chain(std::string_view line) {
    auto& interp = engine_.interp;
    interp.callDepth = 0;
    const ScriptTarget target = parseTarget(line, 7, 127);
    const std::string name = fitScriptName(target.name);
    interp.resetScriptWaits();
    // A missing script leaves the old one running after this line.
    if (!interp.loadMainScript(name)) return 1;
    interp.currentScript = name;
    if (target.hasLabel) interp.gotoLabel(target.label);
    return 1;
}

int Commands::call(std::string_view line) {
    auto& interp = engine_.interp;
    const ScriptTarget target = parseTarget(line, 6, 99);
    if (interp.callDepth >= kCallStackSize) {
        std::cerr << "veskar: calls nest deeper than " << kCallStackSize << "; the call of '"
                  << cp932ToUtf8(target.name) << "' is refused\n";
        interp.trace.note("call refused: nested deeper than 9");
        return 1;
    }
    std::string name;
    if (line.size() > 6 && line[6] == '$') {
        const char digit = line.size() > 7 ? line[7] : '0';
        const int slot = digit >= '0' && digit <= '9' ? digit - '0' : 0;
        name = fitScriptName(interp.stringTable[static_cast<std::size_t>(slot)]);
    } else {
        name = fitScriptName(target.name);
    }
    auto& entry = interp.callStack[static_cast<std::size_t>(interp.callDepth)];
    entry.script = interp.currentScript;
    entry.returnOffset = interp.readPos;
    if (interp.loadMainScript(name)) {
        interp.currentScript = name;
        interp.resetScriptWaits();
        ++interp.callDepth;
    }
    // In the new script, or in the old one when the load failed.
    if (target.hasLabel) interp.gotoLabel(target.label);
    return 1;
}

int Commands::end() {
    auto& interp = engine_.interp;
    if (interp.callDepth <= 0) {
        endSceneReplay();
        return 1;
    }
    --interp.callDepth;
    const CallStackEntry entry = interp.callStack[static_cast<std::size_t>(interp.callDepth)];
    if (interp.loadMainScript(entry.script)) {
        interp.currentScript = entry.script;
        interp.readPos = entry.returnOffset;
    }
    interp.needLine = true;
    return 1;
}

} // namespace veskar
