#pragma once
// The main form: a tool strip ("Panel1") with four flat buttons, the game
// screen ("PB") below it and a hidden movie panel ("Panel2") in the same
// place. The window may be resized; the game screen scales with it and the
// tool strip keeps its height.

#include <QRect>
#include <QWidget>
#include <array>
#include <functional>

class QAbstractButton;

namespace veskar {

class GameView;

class MainWindow : public QWidget {
public:
    MainWindow();

    GameView& gameView() { return *view_; }
    QWidget& toolStrip() { return *strip_; }
    QWidget& moviePanel() { return *moviePanel_; }
    // "終了", "読込", "記録", "設定" in that order.
    const std::array<QAbstractButton*, 4>& toolButtons() const { return buttons_; }

    // Mode 1: borderless full screen, the game scaled to fit; mode 2: a
    // borderless 800 x 600 window at the screen's top-left corner. The tool
    // strip is hidden in both.
    bool enterFullScreen(int mode);
    // Back to the bordered window with the tool strip, where it was before.
    void leaveFullScreen();
    bool inFullScreenLayout() const { return fullScreenMode_ != 0; }

    // The close was allowed and the window has closed.
    bool isClosed() const { return closed_; }

    std::function<void()> onQuit, onLoad, onSave, onConfig;
    std::function<void(int)> onKeyDown, onKeyUp;
    // Whether the window may close now; asked for every close.
    std::function<bool()> onCloseQuery;
    std::function<void()> onClosed;
    // The window became the active one, or stopped being it.
    std::function<void(bool)> onActiveChanged;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Tab belongs to the game, not to focus navigation.
    bool focusNextPrevChild(bool) override { return false; }

private:
    void layoutChildren();

    QWidget* strip_;
    std::array<QAbstractButton*, 4> buttons_{};
    GameView* view_;
    QWidget* moviePanel_;
    int fullScreenMode_ = 0;
    QRect windowedGeometry_;
    bool closed_ = false;
};

} // namespace veskar
