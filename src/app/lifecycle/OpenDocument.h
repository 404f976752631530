#pragma once

#include <memory>

class Autosaver;
class DiskChangeGuard;
class Document;
class DocumentController;
class DocumentWindow;
class MediaSession;
class OpenFileLock;

// One open document and what serves it while it is open: the watch on its file, the
// mark that it is open in this process, the autosave of its unsaved work, what is worked
// out from its video (a media session, started for each video attached and stopped when
// the document closes), and its window.
// The document controller makes and destroys these records, and nothing else holds the
// parts: whoever needs the guard or the autosaver is handed it from here.
class OpenDocument
{
public:
    OpenDocument(std::unique_ptr<Document> document, DocumentController &controller);
    // The window goes first, so that no pane outlives what it shows; the services next,
    // while the document they serve is still whole (the media session's workers stop and
    // join); the document last.
    ~OpenDocument();
    OpenDocument(const OpenDocument &) = delete;
    OpenDocument &operator=(const OpenDocument &) = delete;

    Document &document() const { return *m_document; }
    DiskChangeGuard &guard() const { return *m_guard; }
    OpenFileLock &lock() const { return *m_lock; }
    Autosaver &autosaver() const { return *m_autosaver; }
    MediaSession &media() const { return *m_media; }
    DocumentWindow &window() const { return *m_window; }

private:
    std::unique_ptr<Document> m_document;
    std::unique_ptr<DiskChangeGuard> m_guard;
    std::unique_ptr<OpenFileLock> m_lock;
    std::unique_ptr<Autosaver> m_autosaver;
    std::unique_ptr<MediaSession> m_media;
    std::unique_ptr<DocumentWindow> m_window;
};
