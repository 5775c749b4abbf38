#pragma once
// Keeps a second windowed veskar out: a lock file named after the engine's
// mutex in the user's runtime folder.

#include <QLockFile>
#include <QString>

namespace veskar {

class SingleInstanceLock {
public:
    // The lock lives in `directory`; the user's runtime folder (or the temp
    // folder when there is none) by default.
    explicit SingleInstanceLock(const QString& directory = defaultDirectory());

    // False only when another running process holds the lock. A lock left by a
    // process that died is taken over. Other failures (an unwritable folder)
    // are reported on stderr and do not keep the game from running.
    // Take it after the QCoreApplication exists: the lock records the
    // application name, which others compare with the holder's process name.
    bool tryAcquire();

    QString path() const { return path_; }
    static QString defaultDirectory();

private:
    QString path_;
    QLockFile file_;
};

} // namespace veskar
