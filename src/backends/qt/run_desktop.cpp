#include "backends/qt/run_desktop.h"

#include <QApplication>
#include <exception>
#include <filesystem>
#include <iostream>

#include "backends/qt/desktop_session.h"
#include "backends/qt/qt_settings_store.h"
#include "backends/qt/single_instance_lock.h"
#include "shell/exit_codes.h"

namespace veskar {

int runDesktop(int argc, char** argv, const DesktopOptions& options) {
    QApplication app(argc, argv);
    // The game ends when its main window closes, not when a message box shown
    // before it does.
    app.setQuitOnLastWindowClosed(false);

    SingleInstanceLock lock;
    if (!lock.tryAcquire()) {
        // Another windowed veskar runs: the player sees nothing, the terminal a line.
        std::cerr << "veskar: another windowed veskar is running" << lock.holderDescription()
                  << "; only one runs at a time\n";
        return kExitOtherInstance;
    }
    lock.recordGame(QString::fromStdString(std::filesystem::absolute(options.gameDir).string()));

    try {
        QtSettingsStore store;
        DesktopSession session(options, store);
        session.onClosed = [] { QCoreApplication::quit(); };
        session.start();
        if (!session.closed()) QApplication::exec();
        session.finish();
        if (session.engine().gameDataMissing()) return kExitGameDataMissing;
    } catch (const std::exception& e) {
        std::cerr << "veskar: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace veskar
