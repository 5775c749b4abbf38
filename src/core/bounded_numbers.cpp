#include "core/bounded_numbers.h"

#include <string>

#include "core/diagnostics.h"

namespace veskar {

int screenCoordinate(std::int64_t value, std::string_view what, Diagnostics& diagnostics) {
    const int kept = clampCoordinate(value);
    if (kept != value)
        diagnostics.report(std::string(what) + " beyond ±" + std::to_string(kCoordinateLimit) +
                           " was held to that range");
    return kept;
}

int definitionSize(std::int64_t value, int limit, std::string_view key, std::string* note) {
    const int kept = static_cast<int>(std::clamp<std::int64_t>(value, 0, limit));
    if (note) {
        note->clear();
        if (kept != value)
            *note = "_config: " + std::string(key) + " " + std::to_string(value) + " is outside 0-" +
                    std::to_string(limit) + "; " + std::to_string(kept) + " used";
    }
    return kept;
}

} // namespace veskar
