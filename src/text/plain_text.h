#pragma once
// Plain text straight from the font's grey rasters, for the small texts that
// do not go through glyph cells: ruby over the story text and the captions of
// the extras. Transparent background; the pen starts at the text's top-left
// corner and the baseline lies one ascent below it.

#include <string>
#include <string_view>

#include "core/picture.h"
#include "platform/font_source.h"

namespace veskar {

struct PlainTextStyle {
    std::string faceName; // Shift-JIS
    int pixelSize = 9;    // em height
    bool bold = false;
    Colour colour = makeColour(255, 255, 255);
};

// Width in pixels: the sum of the advances. Text ends at a zero byte.
int measurePlainText(FontSource& fonts, const PlainTextStyle& style, std::string_view text);

// Draws `text` with its top-left at (x, y); pixels outside the picture are
// dropped.
void drawPlainText(FontSource& fonts, const PlainTextStyle& style, std::string_view text, Picture& picture,
                   int x, int y);

} // namespace veskar
