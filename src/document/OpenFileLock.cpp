#include "document/OpenFileLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>

namespace {
// Each owner's lock, kept where it is made rather than searched for.
QHash<const QObject *, OpenFileLock *> &locks()
{
    static QHash<const QObject *, OpenFileLock *> registry;
    return registry;
}
} // namespace

OpenFileLock::OpenFileLock(QObject *parent)
    : QObject(parent)
    , m_owner(parent)
{
    if (parent)
        locks().insert(parent, this);
}

OpenFileLock::~OpenFileLock()
{
    if (locks().value(m_owner) == this)
        locks().remove(m_owner);
}

OpenFileLock *OpenFileLock::of(const QObject *owner)
{
    return locks().value(owner);
}

QString OpenFileLock::lockPath(const QString &path)
{
    const QByteArray key = QCryptographicHash::hash(QFile::encodeName(QFileInfo(path).canonicalFilePath()),
                                                    QCryptographicHash::Sha1)
                               .toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/open/")
         + QString::fromLatin1(key) + QStringLiteral(".lock");
}

bool OpenFileLock::acquire(const QString &path)
{
    m_lock.reset();
    m_otherOwner = 0;
    if (QFileInfo(path).canonicalFilePath().isEmpty())
        return true;
    const QString lockFile = lockPath(path);
    QDir().mkpath(QFileInfo(lockFile).absolutePath());
    auto lock = std::make_unique<QLockFile>(lockFile);
    lock->setStaleLockTime(0); // an instance may keep a file open for days
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return true; // no runtime folder: nothing to tell, nothing to flag
    QString host, application;
    lock->getLockInfo(&m_otherOwner, &host, &application);
    return false;
}
