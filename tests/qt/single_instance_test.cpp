// The single-instance lock: a live holder keeps others out however old its
// lock is; a dead holder's lock is taken over; a second veskar says so and exits with 1.

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "backends/qt/single_instance_lock.h"

namespace veskar {
namespace {

TEST(SingleInstanceLock, LiveHolderKeepsOthersOutEvenWhenItsLockIsOld) {
    QTemporaryDir dir;
    SingleInstanceLock first(dir.path());
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.path().endsWith("/VESKARENGINE.lock"));

    // A game that has run for an hour still holds the lock.
    QFile file(first.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    file.close();

    SingleInstanceLock second(dir.path());
    EXPECT_FALSE(second.tryAcquire());
}

TEST(SingleInstanceLock, LockOfACrashedProcessIsTakenOver) {
    QTemporaryDir dir;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--hold-lock-and-die", dir.path()});
    ASSERT_TRUE(holder.waitForFinished(10000));
    ASSERT_EQ(holder.exitCode(), 0);

    SingleInstanceLock lock(dir.path());
    ASSERT_TRUE(QFile::exists(lock.path())); // left behind by the dead holder
    EXPECT_TRUE(lock.tryAcquire());
}

TEST(SingleInstanceLock, SecondWindowedVeskarExitsWithOneAndShowsNothing) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QTemporaryDir emptyGame;

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const auto runVeskar = [&] {
        QProcess veskar;
        veskar.setProcessEnvironment(env);
        veskar.start(VESKAR_EXE, {emptyGame.path()});
        EXPECT_TRUE(veskar.waitForFinished(20000));
        return std::pair{veskar.exitCode(), QString::fromUtf8(veskar.readAllStandardError())};
    };

    {
        SingleInstanceLock running(runtime.path());
        ASSERT_TRUE(running.tryAcquire());
        running.recordGame("/games/other");
        const auto [code, errors] = runVeskar();
        EXPECT_EQ(code, 1);
        EXPECT_FALSE(errors.contains("message box")) << errors.toStdString();
        // The sound library may say something about the machine's audio first.
        EXPECT_TRUE(errors.endsWith(QString("veskar: another windowed veskar is running (process %1, game "
                                            "/games/other); only one runs at a time\n")
                                        .arg(QCoreApplication::applicationPid())))
            << errors.toStdString();
    }
    // Once the other game is gone, the game starts (and reports its missing data).
    const auto [code, errors] = runVeskar();
    EXPECT_EQ(code, 3);
    EXPECT_TRUE(errors.contains("message box")) << errors.toStdString();
}

} // namespace
} // namespace veskar
