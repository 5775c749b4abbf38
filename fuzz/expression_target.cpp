#include <memory>
#include <string_view>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "fuzz_targets.h"
#include "shell/engine.h"

namespace veskar::fuzz {

namespace {
// An engine that is never started: the variable banks and the random
// generator are all the expression language reaches.
struct Rig {
    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store{std::nullopt};
    SilentAudioDevice audio;
    Engine engine{Platform{host, host.clock(), store, audio, nullptr}, EngineOptions{{}, 1}};
};
} // namespace

void expression(Bytes data) {
    // One rig for the whole run: building an engine per input would dwarf the parsing.
    static const std::unique_ptr<Rig> rig = std::make_unique<Rig>();
    Variables& vars = rig->engine.vars;
    // Script text ends at a NUL and a line holds at most 2047 bytes.
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    text = text.substr(0, std::min<std::size_t>(text.find('\0'), 2047));
    (void)vars.evalExpression(text);
    (void)vars.evalCondition(text);
    vars.runAssignment(text);
}

} // namespace veskar::fuzz
