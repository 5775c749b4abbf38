#include "backends/qt/view_fit.h"

#include <algorithm>
#include <cmath>

namespace veskar {

QRect fitGameRect(QSize view) {
    if (view.width() <= 0 || view.height() <= 0) return {};
    // Compare the two scales exactly with integers: w / 800 against h / 600.
    int width = view.width();
    int height = view.height();
    if (static_cast<long long>(width) * kGameHeight > static_cast<long long>(height) * kGameWidth)
        width = static_cast<int>(static_cast<long long>(height) * kGameWidth / kGameHeight);
    else
        height = static_cast<int>(static_cast<long long>(width) * kGameHeight / kGameWidth);
    return {(view.width() - width) / 2, (view.height() - height) / 2, width, height};
}

bool isWholeMultiple(QRect target, double devicePixelRatio) {
    const double w = target.width() * devicePixelRatio;
    const double h = target.height() * devicePixelRatio;
    const double k = w / kGameWidth;
    return k >= 1.0 && k == std::floor(k) && h == k * kGameHeight;
}

namespace {
int scaleBack(int offset, int targetSize, int gameSize) {
    // floor(offset * gameSize / targetSize) for offsets that may be negative
    const long long num = static_cast<long long>(offset) * gameSize;
    long long q = num / targetSize;
    if (num % targetSize != 0 && num < 0) --q;
    return static_cast<int>(q);
}
} // namespace

Point toGamePointClamped(QPoint viewPos, QRect target) {
    if (target.isEmpty()) return {0, 0};
    const int x = scaleBack(viewPos.x() - target.x(), target.width(), kGameWidth);
    const int y = scaleBack(viewPos.y() - target.y(), target.height(), kGameHeight);
    return {std::clamp(x, 0, kGameWidth - 1), std::clamp(y, 0, kGameHeight - 1)};
}

std::optional<Point> toGamePoint(QPoint viewPos, QRect target) {
    if (!target.contains(viewPos)) return std::nullopt;
    return toGamePointClamped(viewPos, target);
}

} // namespace veskar
