#include "app/lifecycle/Autosaver.h"

#include "document/DiskChangeGuard.h"
#include "document/Document.h"

#include <QLockFile>

Autosaver::Autosaver(Document *document, RecoveryStore store, int delayMilliseconds, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_store(std::move(store))
    , m_id(RecoveryStore::newId())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &Autosaver::write);
    m_stateTimer.setInterval(delayMilliseconds);
    connect(&m_stateTimer, &QTimer::timeout, this, &Autosaver::refreshWindowState);
    connect(&document->undoManager(), &UndoManager::stateChanged, this, &Autosaver::documentChanged);
}

Autosaver::~Autosaver()
{
    // The document closes: the user saved it or chose to discard the changes.
    if (!m_keep)
        m_store.remove(m_id);
}

void Autosaver::setWindowStateSource(std::function<QVariantMap()> source)
{
    m_windowState = std::move(source);
}

void Autosaver::adoptEntry(const RecoveryStore::Entry &entry)
{
    m_store.remove(m_id);
    m_lock.reset();
    m_id = entry.id;
    m_adoptedLock = entry.lock;
    m_written = true;
    m_writtenWindowState = entry.windowState;
    m_stateTimer.start();
}

void Autosaver::flush()
{
    if (m_timer.isActive()) {
        m_timer.stop();
        write();
    }
}

void Autosaver::discard()
{
    m_timer.stop();
    m_stateTimer.stop();
    m_store.remove(m_id);
    m_written = false;
}

void Autosaver::keepForRecovery()
{
    flush();
    refreshWindowState();
    m_keep = m_written;
}

void Autosaver::documentChanged()
{
    if (m_document->isModified()) {
        m_timer.start();
    } else {
        m_timer.stop();
        m_stateTimer.stop();
        if (m_written) {
            m_store.remove(m_id);
            m_written = false;
        }
    }
}

RecoveryStore::Description Autosaver::describe() const
{
    RecoveryStore::Description description;
    description.originalPath = m_document->filePath();
    description.encoding = m_document->encoding();
    description.subtitleFormat = m_document->subtitleFormat();
    description.fileFormat = m_document->fileFormat();
    if (m_base)
        description.base = m_base->known();
    if (m_windowState)
        description.windowState = m_windowState();
    return description;
}

void Autosaver::write()
{
    if (!m_document->isModified())
        return;
    if (!m_lock && !m_adoptedLock)
        m_lock = m_store.lock(m_id);
    const RecoveryStore::Description description = describe();
    Expected<void, QString> saved =
        m_store.save(m_id, m_document->subtitleController().subtitles(), description, m_document->formatKeep());
    if (saved && !m_lock && !m_adoptedLock)
        saved = tr("The recovery folder cannot be locked.");
    if (!protect(saved))
        return;
    m_written = true;
    m_writtenWindowState = description.windowState;
    m_stateTimer.start();
}

// The text is written already: only a changed window state rewrites the small description.
void Autosaver::refreshWindowState()
{
    if (!m_written || !m_document->isModified() || !m_windowState)
        return;
    const RecoveryStore::Description description = describe();
    if (description.windowState == m_writtenWindowState)
        return;
    if (protect(m_store.saveDescription(m_id, description)))
        m_writtenWindowState = description.windowState;
}

bool Autosaver::protect(const Expected<void, QString> &saved)
{
    if (!saved) {
        // Said once per spell of failures, not at every keystroke.
        if (!m_failing)
            emit protectionFailed(saved.error());
        m_failing = true;
        return false;
    }
    m_failing = false;
    return true;
}
