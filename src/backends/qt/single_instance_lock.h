#pragma once
// Keeps a second windowed veskar out: a lock file named after the engine's
// mutex in the user's runtime folder.

#include <QLockFile>
#include <QString>
#include <string>

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

    // After tryAcquire succeeded: notes the game folder for a second instance to name.
    void recordGame(const QString& gameDir);
    // After tryAcquire failed: " (process N, game DIR)", as much as is known.
    std::string holderDescription();

    QString path() const { return path_; }
    static QString defaultDirectory();

private:
    QString path_;
    QLockFile file_;
};

} // namespace veskar
