#include "backends/qt/main_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

#include "backends/qt/game_view.h"
#include "backends/qt/key_map.h"
#include "backends/qt/view_fit.h"

namespace veskar {

namespace {
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 624;
constexpr int kStripWidth = 801;
constexpr int kStripHeight = 21;
constexpr int kViewTop = 24;

struct ToolButtonPlace {
    const char* caption;
    const char* name;
    int x;
    int width;
};
constexpr std::array<ToolButtonPlace, 4> kToolButtons{{
    {"終了", "toolQuit", 0, 81},
    {"読込", "toolLoad", 80, 57},
    {"記録", "toolSave", 144, 57},
    {"設定", "toolConfig", 208, 49},
}};
} // namespace

MainWindow::MainWindow() {
    setObjectName("Form1");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kClientWidth / 4, kClientHeight / 4);

    strip_ = new QWidget(this);
    strip_->setObjectName("Panel1");
    strip_->setAutoFillBackground(true);
    const std::array<std::function<void()>*, 4> actions{&onQuit, &onLoad, &onSave, &onConfig};
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        auto* button = new QToolButton(strip_);
        button->setObjectName(kToolButtons[i].name);
        button->setText(QString::fromUtf8(kToolButtons[i].caption));
        button->setAutoRaise(true);          // flat until the pointer is over it
        button->setFocusPolicy(Qt::NoFocus); // keys stay with the game
        button->setGeometry(kToolButtons[i].x, 0, kToolButtons[i].width, kStripHeight);
        std::function<void()>* action = actions[i];
        connect(button, &QToolButton::clicked, this, [action] {
            if (*action) (*action)();
        });
        buttons_[i] = button;
    }

    view_ = new GameView(this);

    moviePanel_ = new QWidget(this);
    moviePanel_->setObjectName("Panel2");
    moviePanel_->hide();

    resize(kClientWidth, kClientHeight);
    layoutChildren();
}

void MainWindow::layoutChildren() {
    const bool stripShown = fullScreenMode_ == 0;
    strip_->setVisible(stripShown);
    strip_->setGeometry(0, 0, std::max(kStripWidth, width() + 1), kStripHeight);
    const int top = stripShown ? kViewTop : 0;
    const QRect area(0, top, width(), std::max(0, height() - top));
    view_->setGeometry(area);
    moviePanel_->setGeometry(area);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && onActiveChanged) onActiveChanged(isActiveWindow());
    QWidget::changeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent*) { layoutChildren(); }

bool MainWindow::enterFullScreen(int mode) {
    if (mode != 1 && mode != 2) return false;
    const bool wasVisible = isVisible();
    if (fullScreenMode_ == 0) windowedGeometry_ = geometry();
    fullScreenMode_ = mode;
    // Changing the flags hides a shown window; it is shown again below.
    setWindowFlag(Qt::FramelessWindowHint, true);
    QScreen* where = screen();
    if (mode == 1) {
        // The geometry too: without a window manager the state alone does nothing.
        if (where) setGeometry(where->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        const QPoint corner = where ? where->geometry().topLeft() : QPoint(0, 0);
        setGeometry(QRect(corner, QSize(kGameWidth, kGameHeight)));
    }
    layoutChildren();
    if (wasVisible) show();
    return true;
}

void MainWindow::leaveFullScreen() {
    if (fullScreenMode_ == 0) return;
    const bool wasVisible = isVisible();
    fullScreenMode_ = 0;
    setWindowFlag(Qt::FramelessWindowHint, false);
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    setGeometry(windowedGeometry_);
    layoutChildren();
    if (wasVisible) show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (onCloseQuery && !onCloseQuery()) {
        event->ignore();
        return;
    }
    closed_ = true;
    event->accept();
    if (onClosed) onClosed();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const int key = windowsKeyCode(event->key(), event->modifiers());
    if (key == 0) return QWidget::keyPressEvent(event);
    // Held keys repeat their key-down only, as the engine's games expect.
    if (onKeyDown) onKeyDown(key);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    const int key = windowsKeyCode(event->key(), event->modifiers());
    if (key == 0) return QWidget::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    if (onKeyUp) onKeyUp(key);
}

} // namespace veskar
