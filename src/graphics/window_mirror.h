#pragma once
// The window picture with a 32-bit copy beside it in the form the screen
// takes without conversion. A present converts only the rectangle that
// changed; a whole frame drawn elsewhere (a fade's buffer) is converted
// straight from that buffer, and the 24-bit picture catches up from the
// copy only when someone asks for it again.

#include <cstdint>
#include <vector>

#include "core/picture.h"
#include "platform/host.h"

namespace veskar {

class WindowMirror {
public:
    WindowMirror(int width, int height);

    // The 24-bit window picture, up to date with what is shown.
    Picture& picture();
    // The rectangle of picture() changed: converts it. Returns it clipped.
    Rect present(const Rect& changed);
    // Shows `frame` (its part inside the window): the window picture becomes it.
    Rect showFrame(const Picture& frame);
    // Converts the whole picture, unless the 32-bit copy is the newer one.
    void refresh();

    int width() const { return picture_.width(); }
    int height() const { return picture_.height(); }
    // 0xFFRRGGBB pixels, rows from the top, width() pixels a row.
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width() + x]; }
    // Whether picture() has to be rebuilt from the 32-bit copy.
    bool pictureBehind() const { return pictureBehind_; }

private:
    Rect clip(const Rect& r) const;
    void convert(const Picture& source, const Rect& r);

    Picture picture_;
    std::vector<std::uint32_t> pixels_;
    bool pictureBehind_ = false;
};

} // namespace veskar
