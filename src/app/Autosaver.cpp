#include "app/Autosaver.h"

#include "document/Document.h"

Autosaver::Autosaver(Document *document, RecoveryStore store, int delayMilliseconds)
    : QObject(document)
    , m_document(document)
    , m_store(std::move(store))
    , m_id(RecoveryStore::newId())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &Autosaver::write);
    connect(&document->undoManager(), &UndoManager::stateChanged, this, &Autosaver::documentChanged);
}

Autosaver::~Autosaver()
{
    // The document closes: the user saved it or chose to discard the changes.
    m_store.remove(m_id);
}

void Autosaver::adoptEntry(const QString &id)
{
    m_store.remove(m_id);
    m_id = id;
    m_written = true;
}

void Autosaver::flush()
{
    if (m_timer.isActive()) {
        m_timer.stop();
        write();
    }
}

void Autosaver::documentChanged()
{
    if (m_document->isModified()) {
        m_timer.start();
    } else {
        m_timer.stop();
        if (m_written) {
            m_store.remove(m_id);
            m_written = false;
        }
    }
}

void Autosaver::write()
{
    if (!m_document->isModified())
        return;
    if (auto error = m_store.save(m_id, m_document->subtitleController().subtitles(), m_document->filePath(),
                                  m_document->encoding()))
        qWarning("Cannot keep unsaved work for recovery: %s", qPrintable(*error));
    else
        m_written = true;
}
