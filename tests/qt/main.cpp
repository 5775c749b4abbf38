// test_qt's entry: the tests need one QApplication, on the offscreen platform
// so that no window appears and geometry does not depend on a window manager.
// Run as `test_qt --hold-lock-and-die DIR` it takes the single-instance lock in
// DIR and dies without releasing it, leaving the lock of a crashed game.

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include "backends/qt/single_instance_lock.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock-and-die") == 0) {
        QCoreApplication app(argc, argv);
        veskar::SingleInstanceLock lock(QString::fromLocal8Bit(argv[2]));
        std::_Exit(lock.tryAcquire() ? 0 : 3);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
