#pragma once
// The inline tags of text lines ("[" name arguments "]"), shared by the
// interpreter and the build's checks.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace veskar {

enum InlineTagId {
    kTagGra,
    kTagNormalSpacing,
    kTagWideSpacing,
    kTagCol,
    kTagWait,
    kTagCv,
    kTagClrb,
    kTagDelay,
    kTagValue,
    kTagString
};

struct InlineTag {
    std::string_view name;
    std::size_t argsAt; // from the "["
};

// Matched in this order, each over its own length, letter case ignored.
inline constexpr std::array<InlineTag, 10> kInlineTags = {{
    {"gra", 5},
    {"1", 0},
    {"2", 0},
    {"col", 5},
    {"wait", 6},
    {"cv ", 4},
    {"clrb", 6},
    {"delay", 7},
    {"?", 2},
    {"$", 2},
}};

// The tag the text after a "[" starts with, or nothing.
std::optional<int> matchInlineTag(std::string_view afterBracket);

} // namespace veskar
