// Inline tags of text lines: "[" name arguments "]".

#include <array>
#include <string>

#include "core/numbers.h"
#include "core/sjis.h"
#include "script/inline_tags.h"
#include "script/interpreter.h"
#include "shell/engine.h"

namespace veskar {

std::optional<int> matchInlineTag(std::string_view afterBracket) {
    for (std::size_t i = 0; i < kInlineTags.size(); ++i)
        if (startsWithIgnoreAsciiCase(afterBracket, kInlineTags[i].name)) return static_cast<int>(i);
    return std::nullopt;
}

Flow Interpreter::inlineTag() {
    const std::string_view text = line();
    const std::size_t open = static_cast<std::size_t>(st_.linePos);
    const std::string_view afterBracket = text.substr(open + 1);
    const int tag = matchInlineTag(afterBracket).value_or(-1);
    std::string_view args;
    if (tag >= 0) {
        const std::size_t at = open + kInlineTags[static_cast<std::size_t>(tag)].argsAt;
        args = at < text.size() ? text.substr(at) : std::string_view{};
    }

    auto& run = engine_.run;
    switch (tag) {
    case kTagGra:
        graTag(args);
        break;
    case kTagNormalSpacing:
        engine_.layout.setWideSpacing(false);
        break;
    case kTagWideSpacing:
        engine_.layout.setWideSpacing(true);
        break;
    case kTagCol:
        engine_.layout.setTextColorIndex(readScriptNumber(args));
        break;
    case kTagWait:
        // A negative wait would never be counted down.
        if (!run.SkipActive) run.WaitTicks = std::max(0, readScriptNumber(args));
        break;
    case kTagCv:
        cvTag(args.substr(0, args.find(']')));
        break;
    case kTagClrb:
        clrbTag(args);
        break;
    case kTagDelay:
        st_.charDelay = readScriptNumber(args);
        break;
    case kTagValue:
        insertText(std::to_string(engine_.vars.evalExpression(args)));
        break;
    case kTagString: {
        const std::int32_t n = readScriptNumber(args);
        if (n >= 0 && n <= 9) insertText(st_.stringTable[static_cast<std::size_t>(n)]);
        break;
    }
    default:
        break; // not a tag: skipped
    }

    const std::size_t close = text.find(']', open);
    if (close == std::string_view::npos) {
        st_.needLine = true;
        return tag == kTagWait ? Flow::EndStep : Flow::GoOn;
    }
    st_.linePos = static_cast<std::int32_t>(close + 1);
    if (tag == kTagWait) return Flow::EndStep;
    return Flow::Redispatch; // the character loop continues
}

} // namespace veskar
