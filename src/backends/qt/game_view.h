#pragma once
// The game screen ("PB"): shows the 800 x 600 window picture scaled to the
// widget, and reports mouse input in game coordinates.
//
// What the player sees is the window picture as the engine last presented
// it, kept in the screen's own 32-bit format so that painting is a plain
// copy. The engine's paint handler runs only when the system asks for the
// view to be drawn anew (shown, resized), never for a present.

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/picture.h"
#include "graphics/window_mirror.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

class GameView : public QWidget {
public:
    explicit GameView(QWidget* parent = nullptr);

    // What the engine draws into: the view's canvas.
    Picture& picture() { return mirror_.picture(); }
    // A rectangle of the picture changed: show it.
    void present(const Rect& changed);
    // Shows a whole frame drawn elsewhere; the picture becomes it.
    void showFrame(const Picture& frame);
    // Where the picture is drawn inside the view.
    QRect targetRect() const;

    // The system asks for the view to be drawn anew: the engine's paint
    // handler, run before the picture is drawn.
    std::function<void()> onPaint;
    std::function<void(MouseButton, Point)> onMouseDown, onMouseUp;
    std::function<void(Point)> onMouseMove;
    std::function<void(int delta, Point)> onWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The part of the view that shows a rectangle of the picture.
    QRect viewRect(const Rect& r) const;

    WindowMirror mirror_{800, 600};
    QImage image_; // over mirror_'s pixels, no copy
    bool painting_ = false;
    bool systemPaint_ = true; // the next paint is the system's, not a present's
    // Buttons pressed over the picture: their release is delivered wherever it happens.
    Qt::MouseButtons pressedInside_;
};

} // namespace veskar
