#include "player/OwnedTemporaryFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

const QString lockName = QStringLiteral(".owner.lock");
// A folder just made is locked a moment later: one younger than this without a lock may
// be a running instance's.
constexpr int unlockedGraceSeconds = 60;

} // namespace

QString OwnedTemporaryFolder::pattern(const QString &kind)
{
    return QStringLiteral("cuewright-%1-").arg(kind);
}

OwnedTemporaryFolder::OwnedTemporaryFolder(const QString &kind)
    : m_folder(QDir::tempPath() + u'/' + pattern(kind) + QStringLiteral("XXXXXX"))
    , m_lock(m_folder.filePath(lockName))
{
    m_lock.setStaleLockTime(0); // held for as long as this process runs
    if (m_folder.isValid())
        m_lock.tryLock(0);
}

void OwnedTemporaryFolder::removeAbandoned(const QString &kind)
{
    const QDateTime young = QDateTime::currentDateTimeUtc().addSecs(-unlockedGraceSeconds);
    const QDir temporary(QDir::tempPath());
    for (const QFileInfo &folder : temporary.entryInfoList({pattern(kind) + u'*'}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden)) {
        // The temporary folder is shared: another user's folders are theirs.
        if (folder.ownerId() != ::getuid())
            continue;
        const QString lockPath = folder.absoluteFilePath() + u'/' + lockName;
        if (!QFileInfo::exists(lockPath) && folder.lastModified().toUTC() > young)
            continue;
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // a running instance's
        QDir(folder.absoluteFilePath()).removeRecursively();
        lock.unlock();
    }
}
