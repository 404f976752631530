#include "app/OpenDocument.h"

#include "app/Autosaver.h"
#include "app/DocumentWindow.h"
#include "app/RecoveryStore.h"
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/Preferences.h"

OpenDocument::OpenDocument(std::unique_ptr<Document> document, DocumentController &controller)
    : m_document(std::move(document))
    , m_guard(std::make_unique<DiskChangeGuard>())
    , m_lock(std::make_unique<OpenFileLock>())
    , m_autosaver(std::make_unique<Autosaver>(m_document.get(), RecoveryStore(), Preferences::autosaveDelayMilliseconds()))
{
    m_autosaver->setBase(m_guard.get());
    m_document->attachController();
    m_window = std::make_unique<DocumentWindow>(m_document.get(), controller);
    m_autosaver->setWindowStateSource([window = m_window.get()] { return window->saveState(); });
}

OpenDocument::~OpenDocument()
{
    m_window.reset();
    m_autosaver.reset();
    m_lock.reset();
    m_guard.reset();
    m_document.reset();
}
