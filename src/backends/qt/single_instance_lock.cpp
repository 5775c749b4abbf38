#include "backends/qt/single_instance_lock.h"

#include <QDir>
#include <QStandardPaths>
#include <iostream>

namespace veskar {

namespace {
constexpr const char* kLockName = "VESKARENGINE.lock";
}

SingleInstanceLock::SingleInstanceLock(const QString& directory)
    : path_(QDir(directory).filePath(kLockName)), file_(path_) {
    // A running game may hold the lock for hours: only a holder that is no
    // longer running makes the lock stale, never its age.
    file_.setStaleLockTime(0);
}

QString SingleInstanceLock::defaultDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}

bool SingleInstanceLock::tryAcquire() {
    if (file_.tryLock(0)) return true;
    if (file_.error() == QLockFile::LockFailedError) return false;
    std::cerr << "veskar: cannot create the lock file " << path_.toStdString()
              << "; running without the single-instance check\n";
    return true;
}

} // namespace veskar
