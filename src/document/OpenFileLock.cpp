#include "document/OpenFileLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <sys/stat.h>

OpenFileLock::OpenFileLock(QObject *parent)
    : QObject(parent)
{
}

OpenFileLock::~OpenFileLock() = default;

QStringList OpenFileLock::lockPaths(const QString &path)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/open/");
    const QByteArray key = QCryptographicHash::hash(QFile::encodeName(QFileInfo(path).canonicalFilePath()),
                                                    QCryptographicHash::Sha1)
                               .toHex();
    QStringList paths{folder + QString::fromLatin1(key) + QStringLiteral(".lock")};
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        paths << folder + QStringLiteral("%1-%2.lock").arg(info.st_dev).arg(info.st_ino);
    return paths;
}

bool OpenFileLock::acquire(const QString &path)
{
    m_locks.clear();
    m_otherOwner = 0;
    if (QFileInfo(path).canonicalFilePath().isEmpty())
        return true;
    for (const QString &lockFile : lockPaths(path)) {
        QDir().mkpath(QFileInfo(lockFile).absolutePath());
        auto lock = std::make_unique<QLockFile>(lockFile);
        lock->setStaleLockTime(0); // an instance may keep a file open for days
        if (lock->tryLock(0)) {
            m_locks.push_back(std::move(lock));
        } else if (lock->error() == QLockFile::LockFailedError) {
            QString host, application;
            lock->getLockInfo(&m_otherOwner, &host, &application);
            m_locks.clear();
            return false;
        } // no runtime folder: nothing to tell, nothing to flag
    }
    return true;
}
