#include "app/lifecycle/OpenDocument.h"

#include "app/lifecycle/Autosaver.h"
#include "app/window/DocumentWindow.h"
#include "app/lifecycle/RecoveryStore.h"
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/Preferences.h"
#include "media/MediaSession.h"

OpenDocument::OpenDocument(std::unique_ptr<Document> document, DocumentController &controller)
    : m_document(std::move(document))
    , m_guard(std::make_unique<DiskChangeGuard>())
    , m_lock(std::make_unique<OpenFileLock>())
    , m_autosaver(std::make_unique<Autosaver>(m_document.get(), RecoveryStore(), Preferences::autosaveDelayMilliseconds()))
    , m_media(std::make_unique<MediaSession>())
{
    m_autosaver->setBase(m_guard.get());
    m_document->attachController();
    // Before any pane: the quality checks know of a shot change before the panes hear of it.
    m_media->serve(&m_document->undoManager(), &m_document->problemIndex());
    m_window = std::make_unique<DocumentWindow>(m_document.get(), m_media.get(), controller);
    m_autosaver->setWindowStateSource([window = m_window.get()] { return window->saveState(); });
}

OpenDocument::~OpenDocument()
{
    m_window.reset();
    m_media.reset();
    m_autosaver.reset();
    m_lock.reset();
    m_guard.reset();
    m_document.reset();
}
