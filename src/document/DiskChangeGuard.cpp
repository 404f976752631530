#include "document/DiskChangeGuard.h"

#include "document/SharedFileWatcher.h"

#include <QCoreApplication>
#include <QFileInfo>

DiskChangeGuard::DiskChangeGuard(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &DiskChangeGuard::check);
    // An atomic save by another program replaces the file: the folder sees it.
    connect(&SharedFileWatcher::instance(), &SharedFileWatcher::changed, this, [this](const QString &path) {
        if (!m_path.isEmpty() && (path == m_path || path == m_folder))
            m_settle.start();
    });
}

DiskChangeGuard::~DiskChangeGuard()
{
    unwatch();
}

void DiskChangeGuard::remember(const QString &path)
{
    rememberAs(path, FileIdentity::of(path));
}

void DiskChangeGuard::rememberAs(const QString &path, const FileIdentity &identity)
{
    m_known = identity;
    m_reported = identity;
    watch(path);
}

void DiskChangeGuard::watch(const QString &path)
{
    if (path == m_path)
        return;
    unwatch();
    m_path = path;
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    SharedFileWatcher::instance().add(m_folder);
    SharedFileWatcher::instance().add(m_path);
}

void DiskChangeGuard::unwatch()
{
    // The shared watcher goes with the application object, which may go first.
    if (m_path.isEmpty() || !QCoreApplication::instance())
        return;
    SharedFileWatcher::instance().remove(m_path);
    SharedFileWatcher::instance().remove(m_folder);
    m_path.clear();
    m_folder.clear();
}

bool DiskChangeGuard::hasChangedOnDisk() const
{
    return !m_path.isEmpty() && m_known.changedAt(m_path);
}

void DiskChangeGuard::check()
{
    if (!hasChangedOnDisk() || !m_reported.changedAt(m_path))
        return;
    m_reported = FileIdentity::of(m_path);
    emit changedOnDisk();
}
