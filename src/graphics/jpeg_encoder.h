#pragma once
// Writes an engine picture as a baseline JPEG (for the authoring tool, tests
// and benchmarks; the engine itself only decodes).

#include <cstdint>
#include <vector>

#include "core/picture.h"

namespace veskar {

// `quality` is libjpeg's 1-100 scale.
std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, int quality = 95);

} // namespace veskar
