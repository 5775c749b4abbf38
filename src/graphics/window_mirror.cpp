#include "graphics/window_mirror.h"

#include <algorithm>

#include "graphics/present_kernels.h"

namespace veskar {

WindowMirror::WindowMirror(int width, int height)
    : picture_(width, height),
      pixels_(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)),
              0xFF000000u) {}

Picture& WindowMirror::picture() {
    if (pictureBehind_) {
        const auto& k = activePresentKernels();
        for (int y = 0; y < height(); ++y)
            k.pack(pixels_.data() + static_cast<std::size_t>(y) * width(), width(), picture_.row(y));
        pictureBehind_ = false;
    }
    return picture_;
}

Rect WindowMirror::clip(const Rect& r) const {
    const int x0 = std::clamp(r.x, 0, width()), y0 = std::clamp(r.y, 0, height());
    const long long x1 =
        std::clamp(static_cast<long long>(r.x) + std::max(r.width, 0), 0LL, static_cast<long long>(width()));
    const long long y1 = std::clamp(static_cast<long long>(r.y) + std::max(r.height, 0), 0LL,
                                    static_cast<long long>(height()));
    return {x0, y0, static_cast<int>(std::max<long long>(x1 - x0, 0)),
            static_cast<int>(std::max<long long>(y1 - y0, 0))};
}

void WindowMirror::convert(const Picture& source, const Rect& r) {
    const auto& k = activePresentKernels();
    for (int y = r.y; y < r.y + r.height; ++y)
        k.expand(source.row(y) + r.x * 3, r.width,
                 pixels_.data() + static_cast<std::size_t>(y) * width() + r.x);
}

Rect WindowMirror::present(const Rect& changed) {
    // Writes into the picture land in the rectangle presented, so converting
    // it is right even while the rest of the picture is behind.
    const Rect r = clip(changed);
    convert(picture_, r);
    return r;
}

Rect WindowMirror::showFrame(const Picture& frame) {
    const Rect r = clip({0, 0, std::min(frame.width(), width()), std::min(frame.height(), height())});
    if (r.width == 0 || r.height == 0) return r;
    // The part of the picture outside the frame is still current, but when
    // anything of it is behind the whole picture is rebuilt from the copy.
    convert(frame, r);
    pictureBehind_ = true;
    return r;
}

void WindowMirror::refresh() {
    if (!pictureBehind_) convert(picture_, {0, 0, width(), height()});
}

} // namespace veskar
