// The commands that choose what runs next: if, cjmp and switch.

#include "script/commands.h"
#include "shell/engine.h"

namespace veskar {

int Commands::runIf(std::string_view line) {
    auto& interp = engine_.interp;
    const std::string_view condition = line.size() > 4 ? line.substr(4) : std::string_view{};
    if (!engine_.vars.evalCondition(condition)) return 1;

    const std::string_view head = line.substr(0, std::min<std::size_t>(line.size(), 200));
    const std::size_t close = head.find(')');
    if (close == std::string_view::npos) return 1;
    std::size_t start = close + 1;
    while (start < head.size() && head[start] == ' ') ++start;
    const std::string_view target = line.substr(std::min(start, line.size()));
    if (target.empty()) return 1;
    if (target[0] == '*' || target[0] == '@' || target[0] == '!') {
        interp.setLine(target.substr(0, std::min<std::size_t>(target.size(), 199)));
        return 2;
    }
    interp.gotoLabel(target);
    return 1;
}

int Commands::runCjmp(std::string_view line) {
    auto& interp = engine_.interp;
    const std::int32_t v =
        line.size() <= 5 ? engine_.vars.S(6) : engine_.vars.evalExpression(line.size() > 6 ? line.substr(6) : "");
    const std::int32_t end = interp.lineAfter(interp.nextLineStartingWith(interp.readPos, '}'));
    std::int32_t p = interp.readPos;
    for (std::int32_t i = 0; i <= v; ++i) {
        const std::int32_t q = interp.lineAfter(interp.nextLineStartingWith(p, '{'));
        p = q;
        if (q > end || q >= interp.scriptSize) {
            interp.readPos = end;
            break;
        }
        if (i == v) {
            interp.readPos = q;
            break;
        }
    }
    interp.needLine = true;
    return 0;
}

int Commands::runSwitch(std::string_view line) {
    auto& interp = engine_.interp;
    auto& vars = engine_.vars;
    const std::string_view name = line.size() > 8 ? line.substr(8) : std::string_view{};
    if (name.empty()) {
        const std::int32_t end = interp.nextLineStartingWith(interp.readPos, '}');
        std::int32_t p = interp.readPos;
        for (;;) {
            const std::int32_t q = interp.nextLineStartingWith(p, '{');
            if (q >= end) {
                interp.readPos = end; // the "}" line, which does nothing
                break;
            }
            const std::string_view caseLine = interp.scriptLineAt(q);
            if (caseLine.size() == 1 || (caseLine[1] == '(' && vars.evalCondition(caseLine.substr(1)))) {
                interp.readPos = interp.lineAfter(q);
                break;
            }
            p = q + 2;
        }
    } else {
        const std::int32_t end = interp.findNamedBlockEnd(interp.readPos, name);
        std::int32_t p = interp.readPos;
        for (;;) {
            const std::int32_t q = interp.findNamedBlockStart(p, name);
            if (q >= end) {
                interp.readPos = end;
                break;
            }
            const std::string_view caseLine = interp.scriptLineAt(q);
            const std::size_t after = 2 + name.size();
            if (after >= caseLine.size() ||
                (caseLine[after] == '(' && vars.evalCondition(caseLine.substr(after)))) {
                interp.readPos = interp.lineAfter(q);
                break;
            }
            p = q + static_cast<std::int32_t>(after) + 1;
        }
    }
    interp.needLine = true;
    return 1;
}

} // namespace veskar
