#include "backends/qt/game_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <optional>

#include "backends/qt/view_fit.h"

namespace veskar {

namespace {
std::optional<MouseButton> engineButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}
} // namespace

GameView::GameView(QWidget* parent) : QWidget(parent) {
    setObjectName("PB");
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted: no background fill, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GameView::showPicture() {
    // The engine presents from inside its own paint handler too; that paint is
    // already drawing the newest picture.
    if (!painting_) update();
}

QRect GameView::targetRect() const { return fitGameRect(size()); }

void GameView::paintEvent(QPaintEvent*) {
    painting_ = true;
    if (onPaint) onPaint();
    painting_ = false;

    QPainter painter(this);
    const QRect target = targetRect();
    // Black bars around the picture.
    const QRegion bars = QRegion(rect()).subtracted(QRegion(target));
    for (const QRect& bar : bars)
        painter.fillRect(bar, Qt::black);
    if (picture_.empty() || target.isEmpty()) return;
    // Rows of blue, green, red bytes: exactly Qt's BGR888, no copy needed.
    const QImage image(picture_.bytes().data(), picture_.width(), picture_.height(), picture_.rowBytes(),
                       QImage::Format_BGR888);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !isWholeMultiple(target, devicePixelRatioF()));
    painter.drawImage(target, image);
}

void GameView::mousePressEvent(QMouseEvent* event) {
    const auto button = engineButton(event->button());
    const auto at = toGamePoint(event->position().toPoint(), targetRect());
    if (!button || !at) return; // a press on a bar is not a press on the game
    pressedInside_ |= event->button();
    if (onMouseDown) onMouseDown(*button, *at);
}

void GameView::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = engineButton(event->button());
    if (!button || !(pressedInside_ & event->button())) return;
    pressedInside_ &= ~event->button();
    if (onMouseUp) onMouseUp(*button, toGamePointClamped(event->position().toPoint(), targetRect()));
}

void GameView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (auto at = toGamePoint(pos, targetRect())) {
        if (onMouseMove) onMouseMove(*at);
    } else if (pressedInside_ & event->buttons()) {
        if (onMouseMove) onMouseMove(toGamePointClamped(pos, targetRect()));
    }
}

void GameView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    if (onWheel) onWheel(delta, toGamePointClamped(event->position().toPoint(), targetRect()));
}

} // namespace veskar
