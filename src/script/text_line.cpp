// The character loop of a text line: escapes, waits, page marks, inserted
// names and typewriter pacing.

#include <algorithm>

#include "core/numbers.h"
#include "core/sjis.h"
#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr std::uint16_t kPageEndMark = 0x81A5; // ▼
constexpr std::uint16_t kNewPageMark = 0x81A4; // ▽
constexpr std::uint16_t kMidWaitMark = 0x81AC; // 〓
constexpr std::uint16_t kInsertMark = 0x8190;  // ＄
// Shown, but kept out of the backlog.
constexpr bool unlogged(std::uint16_t code) { return code == 0x819F || code == 0x8198 || code == 0x81E3; }

} // namespace

void Interpreter::unappendLog(std::size_t count) { engine_.backlog.unappend(count); }

void Interpreter::insertText(std::string_view text) {
    insertBuffer = cutText(text, kStringSlotMax);
    insertPos = 0;
}

bool Interpreter::typewriterPause() {
    const auto& run = engine_.run;
    if (nameAsText || charDelay == 0 || TextHurry || run.SkipActive) return false;
    const bool typewriter = engine_.settings.Delay == 0 || engine_.vars.S(26) != 0;
    if (!typewriter) return false;
    engine_.run.WaitTicks = charDelay == 1 ? 0 : std::max(0, charDelay - 1);
    return true;
}

Interpreter::Flow Interpreter::textLoop() {
    auto& run = engine_.run;
    const std::string_view text = line();
    const auto byteAt = [&](std::int32_t i) -> std::uint8_t {
        return i >= 0 && static_cast<std::size_t>(i) < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
    };
    for (;;) {
        if (insertPos < insertBuffer.size()) {
            const bool single = isSingleByteChar(static_cast<unsigned char>(insertBuffer[insertPos]));
            const std::size_t width = std::min<std::size_t>(single ? 1 : 2, insertBuffer.size() - insertPos);
            const std::string_view ch(insertBuffer.data() + insertPos, width);
            insertPos += width;
            appendLog(ch);
            emitChar(ch);
            if (typewriterPause()) return Flow::EndStep;
            continue;
        }

        const std::uint8_t b = byteAt(linePos);
        const std::uint16_t code = static_cast<std::uint16_t>(b << 8 | byteAt(linePos + 1));
        if (b == '%') {
            std::size_t consumed = 0;
            std::int32_t n = readScriptNumber(text.substr(static_cast<std::size_t>(linePos) + 1), &consumed);
            if (n != 0) {
                linePos += 1 + static_cast<std::int32_t>(consumed);
            } else {
                n = 10;
                linePos += 1;
            }
            // A negative wait would never be counted down.
            if (!run.SkipActive) run.WaitTicks = std::max(0, n);
            return Flow::EndStep;
        }
        if (b == '[') {
            const Flow flow = inlineTag();
            if (flow != Flow::Redispatch) return flow;
            continue;
        }
        if (b == '<') {
            const Flow flow = ruby();
            if (flow != Flow::Redispatch) return flow;
            continue;
        }
        if (b == 0) {
            closeLogEntry();
            needLine = true;
            engine_.layout.textColumn = 0;
            ++engine_.layout.textRow;
            nameAsText = false;
            return run.SkipActive ? Flow::GoOn : Flow::EndStep;
        }
        if (code == kPageEndMark) {
            closeLogEntry();
            beginClickWait(1);
            needLine = true;
            return Flow::EndStep;
        }
        if (code == kNewPageMark) {
            closeLogEntry();
            newPage();
            needLine = true;
            return Flow::EndStep;
        }
        if (code == kMidWaitMark) {
            beginClickWait(2);
            if (linePos == 0)
                needLine = true;
            else
                linePos += 2;
            return Flow::EndStep;
        }
        if (code == kInsertMark) {
            const std::uint8_t lead = byteAt(linePos + 2);
            const std::uint8_t digit = byteAt(linePos + 3);
            if (lead == 0x82 && digit >= 0x4F && digit <= 0x58) {
                const int d = digit - 0x4F;
                if (d <= 1 && engine_.vars.F.test(28))
                    insertText(sjisText("へたれ"));
                else
                    insertText(stringTable[static_cast<std::size_t>(d)]);
            }
            // The mark and what follows it take four bytes, but never past the line's end.
            linePos = std::min<std::int32_t>(linePos + 4, static_cast<std::int32_t>(text.size()));
            continue;
        }

        const bool single = isSingleByteChar(b) || byteAt(linePos + 1) == 0;
        const std::size_t width = single ? 1 : 2;
        const std::string_view ch = text.substr(static_cast<std::size_t>(linePos), width);
        linePos += static_cast<std::int32_t>(width);
        const std::size_t logged = engine_.backlog.append(ch);
        if (!single && unlogged(code)) unappendLog(logged);
        emitChar(ch);
        if (typewriterPause()) return Flow::EndStep;
    }
}

Interpreter::Flow Interpreter::ruby() {
    const std::string_view text = line();
    const std::size_t start = static_cast<std::size_t>(linePos) + 1;
    const std::size_t close = text.find('>', start);
    DrawRuby(text.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start));
    if (close == std::string_view::npos) {
        needLine = true;
        return Flow::GoOn;
    }
    linePos = static_cast<std::int32_t>(close + 1);
    return Flow::Redispatch; // the character loop continues
}

} // namespace veskar
