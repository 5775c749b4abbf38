#include "script/interpreter.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "core/sjis.h"
#include "script/command_table.h"
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
    trace.open(engine.options.tracePath);
    // Script errors the player never sees go to the trace, when there is one.
    engine.vars.diagnostics = [this](std::string_view message, std::string_view text) {
        trace.diagnostic(message, text);
    };
}

Interpreter::~Interpreter() = default;

std::string_view Interpreter::line() const {
    const char* text = reinterpret_cast<const char*>(lineBuffer.data());
    return {text, strnlen(text, kLineBufferSize - 1)};
}

void Interpreter::setLine(std::string_view text) {
    const std::size_t n = std::min(text.size(), kLineBufferSize - 1);
    std::memmove(lineBuffer.data(), text.data(), n);
    lineBuffer[n] = 0;
}

void Interpreter::runStep() {
    for (int lines = 0; lines < kLinesPerStepLimit; ++lines) {
        Flow flow;
        if (!needLine) {
            flow = textLoop();
        } else {
            nameAsText = false;
            lineStart = readPos;
            linePos = 0;
            if (readPos >= scriptSize) {
                endOfScript();
                return;
            }
            readLine();
            flow = dispatchLine();
            while (flow == Flow::Redispatch) {
                linePos = 0;
                trace.beginLine(loadedScript, lineStart, line(), true);
                flow = dispatchLine();
            }
        }
        if (flow == Flow::EndStep) return;
        needLine = true;
    }
}

void Interpreter::readLine() {
    const auto* buffer = MainScriptBuffer->data();
    const std::int32_t start = readPos;
    std::int32_t end = start;
    while (end < scriptSize && buffer[end] != 0)
        ++end;
    const std::size_t length = static_cast<std::size_t>(end - start);
    const std::size_t kept = std::min(length, kLineBufferSize - 1);
    if (kept < length)
        std::cerr << "veskar: line at offset " << start << " of script '" << cp932ToUtf8(loadedScript)
                  << "' is " << length << " bytes; only the first " << kept << " are used\n";
    std::memcpy(lineBuffer.data(), buffer + start, kept);
    lineBuffer[kept] = 0;
    // Past the NUL; a last line without one ends at the script's end.
    readPos = std::min(end + 1, scriptSize);
    trace.beginLine(loadedScript, lineStart, line());
}

Interpreter::Flow Interpreter::dispatchLine() {
    const std::string_view text = line();
    const std::uint8_t first = lineBuffer[0];
    switch (first) {
    case 0:
        trace.endLine();
        ++engine_.layout.textRow;
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
            readPos = findNamedBlockEnd(readPos, name);
        } else {
            readPos = nextLineStartingWith(readPos, '}');
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
        needLine = false;
        return textLoop();
    }
}

Interpreter::Flow Interpreter::runCommandLine() {
    const auto index = matchCommand(line());
    if (!index) {
        trace.endLine("unknown command");
        return Flow::GoOn;
    }
    // The command may rewrite lineBuffer; it works on its own copy.
    const std::string text(line());
    const int result = commands.runCommand(*index, text);
    trace.endLine("#" + std::to_string(*index) + " " + std::to_string(result));
    if (result == 0) return Flow::GoOn;
    if (result == 2) return Flow::Redispatch;
    return Flow::EndStep;
}

void Interpreter::beginClickWait(int kind) {
    engine_.run.ClickWaitKind = kind;
    computeAutoWait();
    TextHurry = false;
}

Interpreter::Flow Interpreter::pageEndLine(int kind, bool record) {
    closeLogEntry();
    beginClickWait(kind);
    needLine = true;
    if (record) RecordPage(false);
    return Flow::EndStep;
}

Interpreter::Flow Interpreter::continueWaitLine() {
    if (engine_.run.SkipActive) return Flow::GoOn;
    beginClickWait(2);
    needLine = true;
    RecordPage(true);
    engine_.vars.S(39) = 1;
    return Flow::EndStep;
}

Interpreter::Flow Interpreter::runNameLine() {
    auto& vars = engine_.vars;
    if (vars.S(150) == 0 && !engine_.run.WindowShown) newPage();
    if (vars.S(150) == 1) {
        linePos = 1;
        nameAsText = true;
        needLine = false;
        return textLoop();
    }
    const std::string_view text = line();
    std::string_view name = text.substr(1);
    // ">＄" and a full-width digit names the speaker by a string slot.
    if (text.size() >= 5 && static_cast<std::uint8_t>(text[1]) == 0x81 &&
        static_cast<std::uint8_t>(text[2]) == 0x90 && static_cast<std::uint8_t>(text[3]) == 0x82 &&
        static_cast<std::uint8_t>(text[4]) >= 0x4F && static_cast<std::uint8_t>(text[4]) <= 0x58)
        name = stringTable[static_cast<std::size_t>(static_cast<std::uint8_t>(text[4]) - 0x4F)];
    nameplateText = std::string(name.substr(0, kStringSlotMax));
    appendLog(nameplateText);
    closeLogEntry();
    putNameInPageGrid(nameplateText);
    DrawNamePlate(nameplateText);
    return Flow::GoOn;
}

void Interpreter::computeAutoWait() {
    const int level = engine_.vars.S(26);
    // Levels are 0-16; a script-set level of 28 or more must not divide by zero.
    const int divisor = std::max(1, 28 - level);
    engine_.run.AutoCountdown = engine_.layout.pageChars / divisor + 2 * level + 2;
}

void Interpreter::closeLogEntry() {
    engine_.backlog.closeLogEntry();
    engine_.vars.S(38) = 0;
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
