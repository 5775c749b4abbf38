#pragma once
// Volumes in hundredths of a decibel (0 full, -9999 silent) as amplitude factors.

#include <cmath>

namespace veskar {

inline double amplitudeOf(int volume) {
    if (volume >= 0) return 1.0;
    return std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

// The volume whose amplitude is `amplitude` (0 < amplitude <= 1), rounded;
// -9999 for anything at or below that level.
inline int volumeOf(double amplitude) {
    if (amplitude >= 1.0) return 0;
    if (amplitude <= 0.0) return -9999;
    const double v = std::round(2000.0 * std::log10(amplitude));
    return v < -9999.0 ? -9999 : static_cast<int>(v);
}

} // namespace veskar
