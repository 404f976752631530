#include "document/SharedFileWatcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <sys/stat.h>

namespace {
QPointer<SharedFileWatcher> &current()
{
    static QPointer<SharedFileWatcher> watcher;
    return watcher;
}
} // namespace

SharedFileWatcher::SharedFileWatcher(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &SharedFileWatcher::notice);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SharedFileWatcher::notice);
}

SharedFileWatcher &SharedFileWatcher::instance()
{
    if (!current())
        current() = new SharedFileWatcher(QCoreApplication::instance());
    return *current();
}

ino_t SharedFileWatcher::inodeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

void SharedFileWatcher::add(const QString &path)
{
    if (path.isEmpty() || m_users[path]++ > 0)
        return;
    watch(path);
}

void SharedFileWatcher::remove(const QString &path)
{
    const auto users = m_users.find(path);
    if (users == m_users.end() || --*users > 0)
        return;
    m_users.erase(users);
    m_watchedInode.remove(path);
    m_watcher.removePath(path);
}

void SharedFileWatcher::watch(const QString &path)
{
    const ino_t inode = inodeOf(path);
    if (inode == 0)
        return; // not there yet: its folder's change brings it in
    if (m_watcher.files().contains(path) || m_watcher.directories().contains(path))
        m_watcher.removePath(path);
    if (m_watcher.addPath(path))
        m_watchedInode.insert(path, inode);
}

bool SharedFileWatcher::isWatching(const QString &path) const
{
    const ino_t inode = m_watchedInode.value(path);
    return inode != 0 && inode == inodeOf(path)
        && (m_watcher.files().contains(path) || m_watcher.directories().contains(path));
}

void SharedFileWatcher::notice(const QString &path)
{
    // A change in a folder may be a watched file of it replaced or made anew.
    for (auto it = m_users.cbegin(); it != m_users.cend(); ++it) {
        if ((it.key() == path || QFileInfo(it.key()).absolutePath() == path) && !isWatching(it.key()))
            watch(it.key());
    }
    emit changed(path);
}
