#pragma once
// The game screen ("PB"): shows the 800 x 600 window picture scaled to the
// widget, and reports mouse input in game coordinates.

#include <QWidget>
#include <functional>

#include "core/picture.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

class GameView : public QWidget {
public:
    explicit GameView(QWidget* parent = nullptr);

    // What the engine draws into: the view's canvas.
    Picture& picture() { return picture_; }
    // The picture changed: repaint soon.
    void showPicture();
    // Where the picture is drawn inside the view.
    QRect targetRect() const;

    // Called from inside paint before the picture is drawn.
    std::function<void()> onPaint;
    std::function<void(MouseButton, Point)> onMouseDown, onMouseUp;
    std::function<void(Point)> onMouseMove;
    std::function<void(int delta, Point)> onWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Picture picture_{800, 600};
    bool painting_ = false;
    // Buttons pressed over the picture: their release is delivered wherever it happens.
    Qt::MouseButtons pressedInside_;
};

} // namespace veskar
