// The desktop window under the offscreen platform: the main form's layout, a
// game without data closing by itself, the close question, full screen, and
// the picture and input passing through the scaled game view.

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

#include "backends/headless/ini_settings_store.h"
#include "backends/qt/desktop_session.h"
#include "backends/qt/game_view.h"
#include "backends/qt/main_window.h"
#include "backends/qt/qt_host.h"

namespace veskar {
namespace {

// Message boxes answered from a list (first button when it runs out), all recorded.
struct ScriptedAnswers {
    std::deque<MessageAnswer> answers;
    std::vector<MessageBoxRequest> asked;
    MessageBoxAnswerer answerer() {
        return [this](const MessageBoxRequest& r) {
            asked.push_back(r);
            if (answers.empty())
                return r.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        };
    }
};

// Runs the event loop until `done` or the time is up; returns `done()`.
template <class F>
bool runUntil(F done, int timeoutMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class DesktopWindow : public ::testing::Test {
protected:
    QTemporaryDir gameWithoutArchives;
    IniSettingsStore store; // in memory
    ScriptedAnswers boxes;
};

TEST_F(DesktopWindow, MainFormHasTheToolStripAndGameScreenInPlace) {
    DesktopSession session({gameWithoutArchives.path().toStdString(), 1}, store, boxes.answerer());
    session.start();
    MainWindow& w = session.window();

    EXPECT_EQ(w.size(), QSize(800, 624)); // client area
    EXPECT_EQ(w.toolStrip().geometry(), QRect(0, 0, 801, 21));
    EXPECT_TRUE(w.toolStrip().isVisible());
    EXPECT_EQ(w.gameView().geometry(), QRect(0, 24, 800, 600));
    EXPECT_EQ(w.gameView().objectName(), "PB");
    EXPECT_EQ(w.moviePanel().geometry(), QRect(0, 24, 800, 600));
    EXPECT_FALSE(w.moviePanel().isVisible());

    struct Expected {
        const char* caption;
        int x;
        int width;
    };
    const Expected buttons[] = {{"終了", 0, 81}, {"読込", 80, 57}, {"記録", 144, 57}, {"設定", 208, 49}};
    ASSERT_EQ(w.toolButtons().size(), std::size(buttons));
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const QAbstractButton* b = w.toolButtons()[i];
        EXPECT_EQ(b->text(), QString::fromUtf8(buttons[i].caption));
        EXPECT_EQ(b->parentWidget(), &w.toolStrip());
        EXPECT_EQ(b->geometry().x(), buttons[i].x) << buttons[i].caption;
        EXPECT_EQ(b->geometry().width(), buttons[i].width) << buttons[i].caption;
        EXPECT_TRUE(b->isVisible());
    }
}

TEST_F(DesktopWindow, GameWithoutDataReportsOnceAndClosesOnTheFirstPass) {
    DesktopSession session({gameWithoutArchives.path().toStdString(), 1}, store, boxes.answerer());
    bool closedSignal = false;
    session.onClosed = [&] { closedSignal = true; };
    session.start();
    ASSERT_EQ(boxes.asked.size(), 1u); // shown during creation, before the window
    EXPECT_EQ(boxes.asked[0].text, QString::fromUtf8("ゲームデータを読み込めません。"));
    EXPECT_EQ(boxes.asked[0].caption, "Error!");
    EXPECT_EQ(boxes.asked[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes.asked[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(session.window().isVisible());

    ASSERT_TRUE(runUntil([&] { return closedSignal; }));
    EXPECT_TRUE(session.closed());
    EXPECT_FALSE(session.window().isVisible());
    EXPECT_EQ(boxes.asked.size(), 1u); // closed without the question
    // The first pass asked to close; a busy machine may squeeze in one more
    // pass before the posted close arrives, never more.
    EXPECT_GE(session.driver().idlePasses(), 1);
    EXPECT_LE(session.driver().idlePasses(), 2);
    session.finish();
}

TEST_F(DesktopWindow, CloseQuestionRefusedThenAccepted) {
    // The error box at creation is answered OK; then Cancel, then OK.
    boxes.answers = {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Ok};
    DesktopSession session({gameWithoutArchives.path().toStdString(), 1}, store, boxes.answerer());
    bool closedSignal = false;
    session.onClosed = [&] { closedSignal = true; };
    session.start();
    // Play on as if the game had started, so that closing asks.
    session.engine().run.QuitRequested = false;
    session.engine().run.StartPending = false;
    session.engine().run.ScriptRunning = true;

    // "終了" goes through the same close as the title bar.
    session.window().toolButtons()[0]->click();
    ASSERT_TRUE(runUntil([&] { return boxes.asked.size() == 2; }));
    const MessageBoxRequest& question = boxes.asked[1];
    EXPECT_EQ(question.text, QString::fromUtf8("ゲームを終了しますか？"));
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
    runUntil([] { return false; }, 100); // the game keeps running
    EXPECT_FALSE(session.closed());
    EXPECT_TRUE(session.window().isVisible());
    EXPECT_TRUE(session.engine().run.ScriptRunning);
    const int passes = session.driver().idlePasses();
    EXPECT_GT(passes, 0);

    EXPECT_TRUE(session.window().close());
    EXPECT_EQ(boxes.asked.size(), 3u);
    EXPECT_TRUE(closedSignal);
    EXPECT_FALSE(session.window().isVisible());
    runUntil([] { return false; }, 100);
    EXPECT_EQ(session.driver().idlePasses(), passes); // nothing runs after the close
    session.finish();
}

TEST_F(DesktopWindow, IdlePassWaitsWhileABlockingOperationPumpsMessages) {
    DesktopSession session({gameWithoutArchives.path().toStdString(), 1}, store, boxes.answerer());
    session.start();
    Engine& engine = session.engine();
    engine.run.QuitRequested = false;
    engine.run.StartPending = false;
    ASSERT_TRUE(runUntil([&] { return session.driver().idlePasses() >= 2; }));

    int passesInside = -1;
    int ticksInside = 0;
    session.driver().dispatch([&](Engine& e) {
        // A blocking operation: its own frame loop, pumping messages for 150 ms.
        const int passes = session.driver().idlePasses();
        const int ticks = e.run.TickCounter;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 150)
            e.host.processMessages();
        passesInside = session.driver().idlePasses() - passes;
        ticksInside = e.run.TickCounter - ticks;
    });
    EXPECT_EQ(passesInside, 0);
    EXPECT_GE(ticksInside, 1); // the timer does run inside
    // Back in the outer loop, the deferred pass runs and pacing resumes.
    const int after = session.driver().idlePasses();
    EXPECT_TRUE(runUntil([&] { return session.driver().idlePasses() >= after + 2; }));

    // An error escaping a handler is shown, and the game goes on.
    const std::size_t boxesBefore = boxes.asked.size();
    session.driver().dispatch([](Engine&) { throw std::runtime_error("broken invariant"); });
    ASSERT_EQ(boxes.asked.size(), boxesBefore + 1);
    EXPECT_EQ(boxes.asked.back().text, "broken invariant");
    EXPECT_EQ(boxes.asked.back().icon, MessageIcon::Error);
    const int later = session.driver().idlePasses();
    EXPECT_TRUE(runUntil([&] { return session.driver().idlePasses() >= later + 2; }));
}

TEST(QtHostWindow, FullScreenLayoutsAndBack) {
    MainWindow w;
    QtHost host(w);
    w.show();
    const QRect screen = w.screen()->geometry();

    ASSERT_TRUE(host.enterFullScreen(2)); // borderless at the screen's corner, normal size
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.toolStrip().isVisible());
    EXPECT_EQ(w.geometry(), QRect(screen.topLeft(), QSize(800, 600)));
    EXPECT_EQ(w.gameView().geometry(), QRect(0, 0, 800, 600));

    host.leaveFullScreen();
    ASSERT_TRUE(host.enterFullScreen(1)); // the whole screen, the game scaled to fit
    ASSERT_TRUE(runUntil([&] { return w.size() == screen.size(); }));
    EXPECT_TRUE(w.windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(w.toolStrip().isVisible());
    EXPECT_EQ(w.gameView().geometry(), QRect(QPoint(0, 0), screen.size()));

    host.leaveFullScreen();
    ASSERT_TRUE(runUntil([&] { return w.size() == QSize(800, 624); }));
    EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(w.windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(w.toolStrip().isVisible());
    EXPECT_EQ(w.gameView().geometry(), QRect(0, 24, 800, 600));

    EXPECT_FALSE(host.enterFullScreen(3));
    EXPECT_TRUE(w.toolStrip().isVisible());
}

TEST(QtHostWindow, ScaledViewShowsThePictureAndMapsTheMouseBack) {
    MainWindow w;
    QtHost host(w);
    Picture& picture = host.windowPicture();
    ASSERT_EQ(picture.width(), 800);
    ASSERT_EQ(picture.height(), 600);
    picture.fill(makeColour(0, 0, 255));
    picture.setPixel(10, 20, makeColour(255, 0, 0)); // one red pixel on blue
    w.resize(1600, 24 + 1200);                       // twice the game size

    int paints = 0;
    w.gameView().onPaint = [&] { ++paints; };
    const QImage twice = w.gameView().grab().toImage();
    EXPECT_EQ(paints, 1);
    ASSERT_EQ(twice.size(), QSize(1600, 1200));
    // Whole multiples are drawn sharp: the red pixel is a 2 x 2 block, its
    // neighbours untouched.
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx)
            EXPECT_EQ(twice.pixelColor(20 + dx, 40 + dy), QColor(255, 0, 0));
    EXPECT_EQ(twice.pixelColor(19, 40), QColor(0, 0, 255));
    EXPECT_EQ(twice.pixelColor(22, 41), QColor(0, 0, 255));

    w.resize(1000, 24 + 600); // wider than the game: bars left and right
    const QImage wide = w.gameView().grab().toImage();
    EXPECT_EQ(wide.pixelColor(50, 300), QColor(Qt::black));
    EXPECT_EQ(wide.pixelColor(950, 300), QColor(Qt::black));
    EXPECT_EQ(wide.pixelColor(110, 20), QColor(255, 0, 0));

    std::vector<std::pair<MouseButton, Point>> downs, ups;
    std::vector<Point> moves;
    std::vector<std::pair<int, Point>> wheels;
    GameView& view = w.gameView();
    view.onMouseDown = [&](MouseButton b, Point p) { downs.push_back({b, p}); };
    view.onMouseUp = [&](MouseButton b, Point p) { ups.push_back({b, p}); };
    view.onMouseMove = [&](Point p) { moves.push_back(p); };
    view.onWheel = [&](int d, Point p) { wheels.push_back({d, p}); };
    const auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, view.mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    };

    mouse(QEvent::MouseButtonPress, {50, 300}, Qt::LeftButton, Qt::LeftButton); // on a bar: not the game's
    mouse(QEvent::MouseButtonRelease, {50, 300}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(downs.empty());
    EXPECT_TRUE(ups.empty());

    mouse(QEvent::MouseButtonPress, {500, 300}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseMove, {950, 10}, Qt::NoButton, Qt::RightButton); // dragged onto the bar
    mouse(QEvent::MouseButtonRelease, {950, 10}, Qt::RightButton, Qt::NoButton);
    mouse(QEvent::MouseMove, {960, 10}, Qt::NoButton, Qt::NoButton); // over the bar, no button
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], std::pair(MouseButton::Right, Point{400, 300}));
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0], std::pair(MouseButton::Right, Point{799, 10}));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], (Point{799, 10}));

    QWheelEvent wheel({120, 450}, view.mapToGlobal(QPointF(120, 450)), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(wheels[0], std::pair(-120, Point{20, 450}));
}

TEST(QtHostWindow, PresentingFromInsidePaintDoesNotRepaintForever) {
    MainWindow w;
    QtHost host(w);
    w.show();
    runUntil([] { return false; }, 50);
    int paints = 0;
    w.gameView().onPaint = [&] {
        ++paints;
        host.present(); // the engine's paint handler presents too
    };
    host.present();
    runUntil([] { return false; }, 200);
    EXPECT_EQ(paints, 1);
}

TEST(QtHostWindow, KeysReachTheGameAsVirtualKeysAndHeldKeysRepeatOnlyTheirPress) {
    MainWindow w;
    std::vector<int> downs, ups;
    w.onKeyDown = [&](int k) { downs.push_back(k); };
    w.onKeyUp = [&](int k) { ups.push_back(k); };
    const auto key = [&](QEvent::Type type, int qtKey, bool repeat) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, QString(), repeat);
        QCoreApplication::sendEvent(&w, &event);
    };
    key(QEvent::KeyPress, Qt::Key_Control, false);
    key(QEvent::KeyRelease, Qt::Key_Control, true);
    key(QEvent::KeyPress, Qt::Key_Control, true);
    key(QEvent::KeyRelease, Qt::Key_Control, false);
    key(QEvent::KeyPress, Qt::Key_Tab, false);
    key(QEvent::KeyPress, Qt::Key_Exclam, false); // no virtual key: not delivered
    EXPECT_EQ(downs, (std::vector<int>{17, 17, 9}));
    EXPECT_EQ(ups, (std::vector<int>{17}));
}

} // namespace
} // namespace veskar
