#pragma once
// Where numbers from scripts and the game definition enter the engine's
// arithmetic. Positions are held to a range far beyond any screen but small
// enough that sums and differences of a few of them stay within 32 bits;
// sizes of pictures the engine makes are held to the screen's size.

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace veskar {

class Diagnostics;

// Positions and offsets reach at most this far from the screen's origin.
inline constexpr int kCoordinateLimit = 1 << 24;

// A script number used as a screen coordinate, clamped to ±kCoordinateLimit.
// A clamp is reported once for each `what` ("sprite x", "ptset window y" ...).
int screenCoordinate(std::int64_t value, std::string_view what, Diagnostics& diagnostics);

// The same clamp without a report, for arithmetic on values already checked.
constexpr int clampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

// A size from the game definition, clamped to 0 ... limit. Returns the value
// kept; when it differs, `note` receives why (empty otherwise).
int definitionSize(std::int64_t value, int limit, std::string_view key, std::string* note);

} // namespace veskar
