#include "document/DiskChangeGuard.h"

#include "document/Document.h"

#include <QFileInfo>
#include <QHash>

namespace {
// Each document's guard, kept where it is made rather than searched for.
QHash<const Document *, DiskChangeGuard *> &guards()
{
    static QHash<const Document *, DiskChangeGuard *> registry;
    return registry;
}
} // namespace

DiskChangeGuard::DiskChangeGuard(Document *document)
    : QObject(document)
    , m_document(document)
{
    guards().insert(document, this);
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &DiskChangeGuard::check);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    // An atomic save by another program replaces the file: the folder sees it.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
}

DiskChangeGuard::~DiskChangeGuard()
{
    guards().remove(m_document);
}

DiskChangeGuard *DiskChangeGuard::of(const Document *document)
{
    return guards().value(document);
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
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path = path;
    if (path.isEmpty())
        return;
    m_watcher.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        m_watcher.addPath(path);
}

bool DiskChangeGuard::hasChangedOnDisk() const
{
    return !m_path.isEmpty() && m_known.changedAt(m_path);
}

void DiskChangeGuard::check()
{
    // A replaced file drops out of the watch; watch the new one.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    if (!hasChangedOnDisk() || !m_reported.changedAt(m_path))
        return;
    m_reported = FileIdentity::of(m_path);
    emit changedOnDisk();
}
