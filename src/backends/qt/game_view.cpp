#include "backends/qt/game_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
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

GameView::GameView(QWidget* parent)
    : QWidget(parent), image_(reinterpret_cast<const uchar*>(mirror_.pixels()), mirror_.width(),
                              mirror_.height(), mirror_.width() * 4, QImage::Format_RGB32) {
    setObjectName("PB");
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every pixel is painted: no background fill, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect GameView::viewRect(const Rect& r) const {
    const QRect target = targetRect();
    if (target.size() == QSize(mirror_.width(), mirror_.height()))
        return QRect(target.x() + r.x, target.y() + r.y, r.width, r.height);
    // Scaled: the covering rectangle, one pixel wider for the smoothing.
    const double sx = double(target.width()) / mirror_.width(),
                 sy = double(target.height()) / mirror_.height();
    const int x0 = target.x() + int(r.x * sx) - 1, y0 = target.y() + int(r.y * sy) - 1;
    const int x1 = target.x() + int((r.x + r.width) * sx + 0.999) + 1;
    const int y1 = target.y() + int((r.y + r.height) * sy + 0.999) + 1;
    return QRect(QPoint(x0, y0), QPoint(x1, y1)).intersected(target);
}

void GameView::present(const Rect& changed) {
    const Rect r = mirror_.present(changed);
    // The engine presents from inside its own paint handler too; that paint
    // draws the newest picture already.
    if (!painting_ && r.width > 0 && r.height > 0) update(viewRect(r));
}

void GameView::showFrame(const Picture& frame) {
    const Rect r = mirror_.showFrame(frame);
    if (!painting_ && r.width > 0 && r.height > 0) update(viewRect(r));
}

QRect GameView::targetRect() const { return fitGameRect(size()); }

void GameView::resizeEvent(QResizeEvent* event) {
    systemPaint_ = true;
    QWidget::resizeEvent(event);
}

void GameView::showEvent(QShowEvent* event) {
    systemPaint_ = true;
    QWidget::showEvent(event);
}

void GameView::paintEvent(QPaintEvent* event) {
    if (systemPaint_) {
        systemPaint_ = false;
        painting_ = true;
        if (onPaint) onPaint();
        painting_ = false;
        mirror_.refresh();
    }

    QPainter painter(this);
    const QRect target = targetRect();
    // Black bars around the picture.
    const QRegion bars = QRegion(rect()).subtracted(QRegion(target)).intersected(event->region());
    for (const QRect& bar : bars)
        painter.fillRect(bar, Qt::black);
    if (target.isEmpty()) return;
    if (target.size() == image_.size()) {
        // One to one: copy just what changed, no conversion (the screen's format).
        for (const QRect& part : event->region().intersected(target)) {
            const QRect source = part.translated(-target.topLeft());
            painter.drawImage(part.topLeft(), image_, source);
        }
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !isWholeMultiple(target, devicePixelRatioF()));
    painter.drawImage(target, image_);
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
