#include "script/interpreter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/sjis.h"
#include "script/command_table.h"
#include "script/registers.h"
#include "shell/engine.h"

namespace veskar {

namespace {
// A step that runs this many lines without waiting ends anyway, so that a
// script looping without a wait cannot freeze the window; the next pass goes on.
constexpr int kLinesPerStepLimit = 100000;
} // namespace

Interpreter::Interpreter(Engine& engine)
    : MainScriptBuffer(std::make_unique<std::array<std::uint8_t, kScriptBufferSize>>()), commands(engine),
      engine_(engine) {
    if (!trace.open(engine.options.tracePath))
        engine.diagnostics.report("cannot write the trace file " + engine.options.tracePath->string());
    // Script problems also go to the trace, next to their line.
    engine.diagnostics.setListener({
        [this](std::string_view message, std::string_view text) { trace.diagnostic(message, text); },
        [this](std::string_view message) { trace.note(message); },
    });
}

Interpreter::~Interpreter() = default;

std::string_view Interpreter::line() const {
    const char* text = reinterpret_cast<const char*>(st_.lineBuffer.data());
    return {text, strnlen(text, kLineBufferSize - 1)};
}

void Interpreter::setLine(std::string_view text) {
    const std::size_t n = std::min(text.size(), kLineBufferSize - 1);
    std::memmove(st_.lineBuffer.data(), text.data(), n);
    st_.lineBuffer[n] = 0;
}

void Interpreter::runStep() {
    for (int lines = 0; lines < kLinesPerStepLimit; ++lines) {
        Flow flow;
        if (!st_.needLine) {
            flow = textLoop();
        } else {
            nameAsText = false;
            st_.lineStart = st_.readPos;
            st_.linePos = 0;
            if (st_.readPos >= st_.scriptSize) {
                endOfScript();
                return;
            }
            readLine();
            flow = dispatchLine();
            while (flow == Flow::Redispatch) {
                st_.linePos = 0;
                trace.beginLine(st_.loadedScript, st_.lineStart, line(), true);
                flow = dispatchLine();
            }
        }
        // Once the window is closing (a close answered OK during a wait, `exitgame`), no further line runs.
        if (flow == Flow::EndStep || engine_.run.QuitRequested) return;
        st_.needLine = true;
    }
}

void Interpreter::readLine() {
    const auto* buffer = MainScriptBuffer->data();
    const std::int32_t start = st_.readPos;
    std::int32_t end = start;
    while (end < st_.scriptSize && buffer[end] != 0)
        ++end;
    const std::size_t length = static_cast<std::size_t>(end - start);
    const std::size_t kept = std::min(length, kLineBufferSize - 1);
    if (kept < length)
        engine_.diagnostics.report("line at offset " + std::to_string(start) + " of script '" +
                                   cp932ToUtf8(st_.loadedScript) + "' is " + std::to_string(length) +
                                   " bytes; only the first " + std::to_string(kept) + " are used");
    std::memcpy(st_.lineBuffer.data(), buffer + start, kept);
    st_.lineBuffer[kept] = 0;
    // Past the NUL; a last line without one ends at the script's end.
    st_.readPos = std::min(end + 1, st_.scriptSize);
    trace.beginLine(st_.loadedScript, st_.lineStart, line());
}

Flow Interpreter::dispatchLine() {
    const std::string_view text = line();
    const std::uint8_t first = st_.lineBuffer[0];
    switch (first) {
    case 0:
        trace.endLine();
        engine_.layout.skipRow();
        return Flow::GoOn;
    case '!':
        engine_.vars.runAssignment(text.substr(1));
        trace.endLine();
        return Flow::GoOn;
    case ':':
    case ';':
    case '}':
        trace.endLine();
        return Flow::GoOn;
    case '{':
        if (text.size() > 1 && text[1] == ':') {
            std::string_view name = text.substr(2);
            name = name.substr(0, name.find('('));
            st_.readPos = findNamedBlockEnd(st_.readPos, name);
        } else {
            st_.readPos = nextLineStartingWith(st_.readPos, '}');
        }
        trace.endLine();
        return Flow::GoOn;
    case '\\':
        trace.endLine();
        return pageEndLine(1, true);
    case '~':
        trace.endLine();
        return pageEndLine(4, true);
    case '+':
        trace.endLine();
        return pageEndLine(5, false);
    case '=':
        trace.endLine();
        return continueWaitLine();
    case '>':
        trace.endLine();
        return runNameLine();
    case '*':
    case '@':
        return runCommandLine();
    default:
        trace.endLine();
        st_.needLine = false;
        return textLoop();
    }
}

Flow Interpreter::runCommandLine() {
    const auto index = matchCommand(line());
    if (!index) {
        const std::string_view text = line();
        engine_.diagnostics.scriptError(
            "unknown command '" +
            cp932ToUtf8(text.substr(1, text.find(' ') == std::string_view::npos ? std::string_view::npos
                                                                                : text.find(' ') - 1)) +
            "'");
        trace.endLine("unknown command");
        return Flow::GoOn;
    }
    // The command may rewrite lineBuffer; it works on its own copy.
    const std::string text(line());
    const Flow result = commands.runCommand(*index, text);
    trace.endLine("#" + std::to_string(*index) + " " + std::to_string(flowNumber(result)));
    return result;
}

std::string Interpreter::location() const {
    if (st_.loadedScript.empty() || !MainScriptBuffer) return {};
    const auto end = static_cast<std::size_t>(std::clamp(st_.lineStart, 0, st_.scriptSize));
    const auto* bytes = MainScriptBuffer->data();
    const auto line = 1 + std::count(bytes, bytes + end, std::uint8_t{0});
    return cp932ToUtf8(st_.loadedScript) + ":" + std::to_string(line);
}

void Interpreter::beginClickWait(int kind) {
    engine_.run.ClickWaitKind = kind;
    computeAutoWait();
    TextHurry = false;
}

Flow Interpreter::pageEndLine(int kind, bool record) {
    closeLogEntry();
    beginClickWait(kind);
    st_.needLine = true;
    if (record) RecordPage(false);
    return Flow::EndStep;
}

Flow Interpreter::continueWaitLine() {
    if (engine_.run.SkipActive) return Flow::GoOn;
    beginClickWait(2);
    st_.needLine = true;
    RecordPage(true);
    engine_.vars.S(reg::kMidPageWait) = 1;
    return Flow::EndStep;
}

Flow Interpreter::runNameLine() {
    auto& vars = engine_.vars;
    if (vars.S(reg::kFullScreenText) == 0 && !engine_.run.WindowShown) newPage();
    if (vars.S(reg::kFullScreenText) == 1) {
        st_.linePos = 1;
        nameAsText = true;
        st_.needLine = false;
        return textLoop();
    }
    const std::string_view text = line();
    std::string_view name = text.substr(1);
    // ">＄" and a full-width digit names the speaker by a string slot.
    if (text.size() >= 5 && static_cast<std::uint8_t>(text[1]) == 0x81 &&
        static_cast<std::uint8_t>(text[2]) == 0x90 && static_cast<std::uint8_t>(text[3]) == 0x82 &&
        static_cast<std::uint8_t>(text[4]) >= 0x4F && static_cast<std::uint8_t>(text[4]) <= 0x58)
        name = st_.stringTable[static_cast<std::size_t>(static_cast<std::uint8_t>(text[4]) - 0x4F)];
    st_.nameplateText = std::string(name.substr(0, kStringSlotMax));
    appendLog(st_.nameplateText);
    closeLogEntry();
    putNameInPageGrid(st_.nameplateText);
    DrawNamePlate(st_.nameplateText);
    return Flow::GoOn;
}

void Interpreter::computeAutoWait() {
    // Levels are 0-16; a script-set level of 28 or more must not divide by zero,
    // and one far outside is held so that the wait stays countable.
    constexpr std::int64_t kLevelReach = 1000;
    const std::int64_t set = engine_.vars.S(reg::kAutoLevel);
    const std::int64_t level = std::clamp(set, -kLevelReach, kLevelReach);
    if (level != set)
        engine_.diagnostics.report("an auto level beyond ±" + std::to_string(kLevelReach) +
                                   " was held to that range");
    const std::int64_t divisor = std::max<std::int64_t>(1, 28 - level);
    engine_.run.AutoCountdown = static_cast<int>(engine_.layout.pageChars / divisor + 2 * level + 2);
}

void Interpreter::closeLogEntry() {
    engine_.backlog.closeLogEntry();
    engine_.vars.S(reg::kWrappedRow) = 0;
}

void Interpreter::appendLog(std::string_view bytes) { engine_.backlog.append(bytes); }

void Interpreter::discardPendingText() {
    insertBuffer.clear();
    insertPos = 0;
}

void Interpreter::releaseClickWait() {
    const int kind = engine_.run.ClickWaitKind;
    if (kind == 1 || kind == 4 || kind == 5) newPage();
    // Kind 2: the wait marker is erased with the message window; the page goes on.
    engine_.run.ClickWaitKind = 0;
}

} // namespace veskar
