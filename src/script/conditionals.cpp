// The commands that choose what runs next: if, cjmp and switch.

#include "script/commands.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

Flow Commands::runIf(const CommandCall& call) {
    auto& interp = engine_.interp;
    const std::string_view line = call.line;
    if (!engine_.vars.evalCondition(call.args)) return Flow::EndStep;

    const std::string_view head = line.substr(0, std::min<std::size_t>(line.size(), 200));
    const std::size_t close = head.find(')');
    if (close == std::string_view::npos) return Flow::EndStep;
    std::size_t start = close + 1;
    while (start < head.size() && head[start] == ' ')
        ++start;
    const std::string_view target = line.substr(std::min(start, line.size()));
    if (target.empty()) return Flow::EndStep;
    if (target[0] == '*' || target[0] == '@' || target[0] == '!') {
        interp.setLine(target.substr(0, std::min<std::size_t>(target.size(), 199)));
        return Flow::Redispatch;
    }
    interp.gotoLabel(target);
    return Flow::EndStep;
}

Flow Commands::runCjmp(const CommandCall& call) {
    auto& interp = engine_.interp;
    // A bare "cjmp" branches on whether the player renamed the characters.
    const std::int32_t v =
        call.line.size() <= 5 ? engine_.vars.S(reg::kNamesChanged) : engine_.vars.evalExpression(call.args);
    const std::int32_t end = interp.lineAfter(interp.nextLineStartingWith(interp.state().readPos, '}'));
    std::int32_t p = interp.state().readPos;
    for (std::int32_t i = 0; i <= v; ++i) {
        const std::int32_t q = interp.lineAfter(interp.nextLineStartingWith(p, '{'));
        p = q;
        if (q > end || q >= interp.state().scriptSize) {
            interp.state().readPos = end;
            break;
        }
        if (i == v) {
            interp.state().readPos = q;
            break;
        }
    }
    interp.requestLine();
    return Flow::GoOn;
}

Flow Commands::runSwitch(const CommandCall& call) {
    auto& interp = engine_.interp;
    auto& vars = engine_.vars;
    const std::string_view name = call.args;
    if (name.empty()) {
        const std::int32_t end = interp.nextLineStartingWith(interp.state().readPos, '}');
        std::int32_t p = interp.state().readPos;
        for (;;) {
            const std::int32_t q = interp.nextLineStartingWith(p, '{');
            if (q >= end) {
                interp.state().readPos = end; // the "}" line, which does nothing
                break;
            }
            const std::string_view caseLine = interp.scriptLineAt(q);
            if (caseLine.size() == 1 || (caseLine[1] == '(' && vars.evalCondition(caseLine.substr(1)))) {
                interp.state().readPos = interp.lineAfter(q);
                break;
            }
            p = q + 2;
        }
    } else {
        const std::int32_t end = interp.findNamedBlockEnd(interp.state().readPos, name);
        std::int32_t p = interp.state().readPos;
        for (;;) {
            const std::int32_t q = interp.findNamedBlockStart(p, name);
            if (q >= end) {
                interp.state().readPos = end;
                break;
            }
            const std::string_view caseLine = interp.scriptLineAt(q);
            const std::size_t after = 2 + name.size();
            if (after >= caseLine.size() ||
                (caseLine[after] == '(' && vars.evalCondition(caseLine.substr(after)))) {
                interp.state().readPos = interp.lineAfter(q);
                break;
            }
            p = q + static_cast<std::int32_t>(after) + 1;
        }
    }
    interp.requestLine();
    return Flow::EndStep;
}

} // namespace veskar
