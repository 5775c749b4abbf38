// Targets that reach the engine through what a game hands it: the game
// definition, composite sprite definitions, assignments and conditions, and
// whole scripts.

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "core/bounded_numbers.h"
#include "fuzz_game.h"
#include "fuzz_targets.h"
#include "graphics/pictures.h"
#include "shell/engine.h"
#include "shell/game_definition.h"

namespace veskar::fuzz {

namespace {

std::string_view textOf(Bytes data) { return {reinterpret_cast<const char*>(data.data()), data.size()}; }

// The same text with LF for NUL, as decoded scripts hold their lines.
std::string linesOf(std::string_view text) {
    std::string lines(text);
    std::replace(lines.begin(), lines.end(), '\n', '\0');
    return lines;
}

bool within(int value, int low, int high) { return value >= low && value <= high; }

} // namespace

void gameDefinition(Bytes data) {
    const auto parsed = parseGameDefinition(linesOf(textOf(data)));
    if (!parsed) {
        if (parsed.error().message.empty()) std::abort(); // a refusal says why
        return;
    }
    // What the pictures of the window are made from stays within the screen.
    const GameDefinition& d = *parsed;
    if (!within(d.TXW_SIZE_X, 0, kScreenWidth) || !within(d.TXW_SIZE_Y, 0, kScreenHeight) ||
        !within(d.NP_SZ_X, 0, kScreenWidth) || !within(d.NP_SZ_Y, 0, kScreenHeight) ||
        !within(d.CLICK_WAIT_SIZE_X, 0, kScreenWidth) || !within(d.CLICK_WAIT_SIZE_Y, 0, kScreenHeight))
        std::abort();
    for (const int position : {d.TXW_OFS_X, d.TXW_OFS_Y, d.NP_OFS_X, d.NP_OFS_Y, d.TX_OFS_X, d.TX_PITCH_Y})
        if (!within(position, -kCoordinateLimit, kCoordinateLimit)) std::abort();
}

void spriteSets(Bytes data) {
    // The composites named by the input's first heads, drawn over a background
    // and moved through the line-up slots.
    const std::string_view text = textOf(data);
    std::string list;
    std::size_t heads = 0;
    for (std::size_t at = 0; at < text.size() && heads < 3;) {
        std::size_t end = text.find_first_of(std::string_view("\n\0", 2), at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        if (line.size() > 1 && line[0] == ':' && line.find(',') == std::string_view::npos) {
            list += (heads ? ",#" : "#") + std::string(line.substr(1, 30));
            ++heads;
        }
        at = end + 1;
    }
    if (list.empty()) list = "#C1";
    fuzzGame().play("*bg A01 1\n*spr " + list + "\n!S080=-2147483648\n*spr " + list + "\n*exitgame\n", "",
                    text, 2000);
}

void assignmentsAndConditions(Bytes data) {
    struct Rig {
        HeadlessHost host{HeadlessOptions{}};
        IniSettingsStore store{std::nullopt};
        VirtualAudioDevice audio{host.clock()};
        std::ostringstream discarded;
        Engine engine{Platform{host, host.clock(), store, audio, nullptr, nullptr, &discarded},
                      EngineOptions{{}, 1}};
    };
    static const std::unique_ptr<Rig> rig = std::make_unique<Rig>();
    Variables& vars = rig->engine.vars;
    // Lines of the input in turn: assignments change the banks the next
    // conditions read, as in a script.
    const std::string_view text = textOf(data);
    std::size_t at = 0;
    for (int line = 0; at <= text.size() && line < 64; ++line) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view statement = text.substr(at, std::min<std::size_t>(end - at, 2047));
        statement = statement.substr(0, statement.find('\0'));
        if (line % 2 == 0)
            vars.runAssignment(statement);
        else
            (void)vars.evalCondition(statement);
        at = end + 1;
    }
}

void scriptRun(Bytes data) {
    // A second and a half of virtual time reaches the waits, transitions and
    // pages of a short script; a longer bound only slows the search.
    // A record separator (0x1E) starts the game definition the run reads.
    const std::string_view text = textOf(data);
    const std::size_t split = text.find('\x1e');
    if (split == std::string_view::npos) {
        fuzzGame().play(text, "", "", 1500);
        return;
    }
    fuzzGame().play(text.substr(0, split), text.substr(split + 1), "", 1500);
}

} // namespace veskar::fuzz
