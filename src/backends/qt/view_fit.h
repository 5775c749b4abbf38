#pragma once
// Where the 800 x 600 game picture sits inside a view of any size: scaled to
// fit with its aspect kept (black bars on the other sides), and the way back
// from a view position to game coordinates.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "platform/host.h"

namespace veskar {

constexpr int kGameWidth = 800;
constexpr int kGameHeight = 600;

// The picture's rectangle in the view, centred.
QRect fitGameRect(QSize view);

// Whether `target` is a whole multiple of the game size in device pixels, so
// the picture can be drawn with sharp nearest-neighbour pixels.
bool isWholeMultiple(QRect target, double devicePixelRatio);

// The game position under a view position; nothing when it lies on a black bar
// (or outside the view).
std::optional<Point> toGamePoint(QPoint viewPos, QRect target);
// The same, pulled to the nearest game pixel when outside (a drag that left
// the picture, a wheel turned over a bar).
Point toGamePointClamped(QPoint viewPos, QRect target);

} // namespace veskar
