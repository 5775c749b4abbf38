#include "graphics/scene_args.h"

#include <algorithm>
#include <cstdint>

#include "core/diagnostics.h"
#include "core/numbers.h"
#include "core/sjis.h"

namespace veskar {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The position of the first `c` within the first `limit` bytes, or npos.
std::size_t findWithin(std::string_view text, char c, std::size_t from, std::size_t limit) {
    const std::size_t end = std::min(text.size(), from + limit);
    for (std::size_t i = from; i < end; ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

int levelOf(char c) {
    if (c >= '0' && c <= '9') return 16 * (c - '0');
    if (c >= 'A' && c <= 'F') return 16 * (c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return 16 * (c - 'a' + 10);
    if (c == 'G' || c == 'g') return 255;
    return 0;
}

} // namespace

PictureArgs scanPictureArgs(std::string_view argument, bool sides) {
    constexpr std::size_t kLimit = 64;
    PictureArgs args;
    std::size_t i = 0;
    while (i < argument.size() && i < kLimit && argument[i] != ' ' && argument[i] != ',' &&
           argument[i] != ']')
        ++i;
    args.name = std::string(argument.substr(0, i));
    const std::size_t end = std::min(argument.size(), kLimit);
    while (i < end) {
        const char c = argument[i];
        if (c == ']') break;
        if (isDigit(c)) {
            // Modes are small; longer digit runs stop growing at the largest number.
            std::int64_t value = 0;
            while (i < end && isDigit(argument[i]))
                value = std::min<std::int64_t>(value * 10 + (argument[i++] - '0'), INT32_MAX);
            args.mode = static_cast<std::int32_t>(value);
            continue;
        }
        if (sides && (c == 'L' || c == 'l')) args.side = SpriteSide::Left;
        if (sides && (c == 'R' || c == 'r')) args.side = SpriteSide::Right;
        ++i;
    }
    return args;
}

OverlayArgs scanOverlayArgs(std::string_view argument) {
    constexpr std::size_t kNameLimit = 64, kCommaReach = 16;
    OverlayArgs args;
    std::size_t i = 0;
    while (i < argument.size() && i < kNameLimit && argument[i] != ',' && argument[i] != ' ')
        ++i;
    args.name = std::string(argument.substr(0, i));
    if (i >= argument.size()) return args; // the name ends the argument: mode 1
    args.mode = readScriptNumber(argument.substr(i + 1));
    const std::size_t xComma = findWithin(argument, ',', i + 1, kCommaReach);
    if (xComma == std::string_view::npos) return args;
    args.hasX = true;
    args.x = readScriptNumber(argument.substr(xComma + 1));
    const std::size_t yComma = findWithin(argument, ',', xComma + 1, kCommaReach);
    if (yComma == std::string_view::npos) return args;
    args.hasY = true;
    args.y = readScriptNumber(argument.substr(yComma + 1));
    return args;
}

DirectArgs scanDirectArgs(std::string_view argument) {
    constexpr std::size_t kNameLimit = 32;
    DirectArgs args;
    const std::size_t comma = argument.find(',');
    args.name = std::string(argument.substr(0, std::min(comma, kNameLimit)));
    if (comma == std::string_view::npos) return args;
    int* fields[] = {&args.ms, &args.x, &args.y};
    std::size_t at = comma;
    for (int* field : fields) {
        if (at == std::string_view::npos) break;
        *field = readScriptNumber(argument.substr(at + 1));
        at = argument.find(',', at + 1);
    }
    return args;
}

Colour colourFromName(std::string_view name) {
    const auto level = [&](std::size_t i) { return i < name.size() ? levelOf(name[i]) : 0; };
    return makeColour(level(1), level(2), level(3));
}

std::string fitField(std::string_view text, std::size_t limit, std::string_view what,
                     Diagnostics& diagnostics) {
    if (text.size() <= limit) return std::string(text);
    diagnostics.report(std::string(what) + " '" + cp932ToUtf8(text) + "' is longer than " +
                       std::to_string(limit) + " bytes; cut");
    return cutText(text, limit);
}

} // namespace veskar
