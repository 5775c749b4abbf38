#pragma once
// Variable numbers in script text: a fixed count of decimal digits after the
// bank letter.

#include <cstddef>
#include <optional>
#include <string_view>

namespace veskar {

constexpr bool isDigitChar(char c) { return c >= '0' && c <= '9'; }

// Takes `count` characters from text[pos] on (fewer when the text ends first)
// and moves pos past them. The number they spell, or nothing when one of them
// is not a digit.
inline std::optional<int> takeIndex(std::string_view text, std::size_t& pos, int count) {
    int value = 0;
    bool valid = true;
    for (int i = 0; i < count && pos < text.size(); ++i, ++pos) {
        const char c = text[pos];
        if (isDigitChar(c))
            value = value * 10 + (c - '0');
        else
            valid = false;
    }
    if (!valid) return std::nullopt;
    return value;
}

// Script text is read as C text was: a NUL byte ends it.
inline std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

} // namespace veskar
