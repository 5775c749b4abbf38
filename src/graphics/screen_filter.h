#pragma once
// The screen filters applied to the composed scene, by number: 1 brightness
// in sixteenths, 2 sepia, 3 grey, 4 turned by 180 degrees.

#include "core/picture.h"

namespace veskar {

enum ScreenFilterKind {
    kFilterNone = 0,
    kFilterBrightness = 1,
    kFilterSepia = 2,
    kFilterGrey = 3,
    kFilterRotate = 4
};

// Works on the top-left 800 x 600 pixels of `scene` (the whole scene buffer);
// a smaller picture is filtered as far as it reaches. `factor` is the
// brightness in sixteenths; only the low 8 bits of each result are kept.
void applyScreenFilter(Picture& scene, int filter, int factor);

// Sepia on the whole picture: g = (B + G + R) / 3; blue g >> 2, green 3g >> 2, red g.
void makeSepia(Picture& picture);

} // namespace veskar
