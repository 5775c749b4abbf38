#pragma once
// Reading the arguments of the scene commands, and colour backgrounds named
// by text ("S" + three level characters).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/picture.h"

namespace veskar {

enum class SpriteSide { None, Left, Right };

struct PictureArgs {
    std::string name;
    int mode = -1; // -1 when no number was given
    SpriteSide side = SpriteSide::None;
};

// `gra`, `grb` and `bg`: a name up to a blank, comma or "]", then a scan for the
// transition number (the last one wins) and, when `sides` is set, L or R.
PictureArgs scanPictureArgs(std::string_view argument, bool sides);

struct OverlayArgs {
    std::string name;
    int mode = 1;
    bool hasX = false, hasY = false;
    int x = 0, y = 0;
};

// `ovr`: name [,mode [,x [,y]]].
OverlayArgs scanOverlayArgs(std::string_view argument);

struct DirectArgs {
    std::string name;
    int ms = 0, x = 0, y = 0;
};

// `direct`: name [,ms [,x [,y]]].
DirectArgs scanDirectArgs(std::string_view argument);

// A colour background's name: "S" or "s" first.
constexpr bool isColourName(std::string_view name) {
    return !name.empty() && (name[0] == 'S' || name[0] == 's');
}

// The colour of a colour name: each level character gives 16 * digit for 0-9
// and A-F, 255 for G, 0 for anything else (also for missing characters).
Colour colourFromName(std::string_view name);

// Cuts `text` to `limit` bytes, saying so once on stderr; names longer than
// their saved fields cannot be kept.
std::string fitField(std::string_view text, std::size_t limit, std::string_view what);

} // namespace veskar
