#include "backends/qt/single_instance_lock.h"

#include <QDir>
#include <QFile>
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

// The game folder lives beside the lock, in a file of its own: the lock file's
// contents belong to QLockFile.
void SingleInstanceLock::recordGame(const QString& gameDir) {
    QFile file(path_ + ".game");
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(gameDir.toUtf8());
}

std::string SingleInstanceLock::holderDescription() {
    std::string parts;
    qint64 pid = 0;
    QString host, app;
    if (file_.getLockInfo(&pid, &host, &app) && pid > 0) parts = "process " + std::to_string(pid);
    QFile game(path_ + ".game");
    if (game.open(QIODevice::ReadOnly)) {
        const QByteArray dir = game.readAll().trimmed();
        if (!dir.isEmpty()) parts += (parts.empty() ? "" : ", ") + std::string("game ") + dir.toStdString();
    }
    return parts.empty() ? std::string() : " (" + parts + ")";
}

} // namespace veskar
