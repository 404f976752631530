#pragma once

#include "app/RecoveryStore.h"

#include <QObject>
#include <QTimer>

class Document;

// Keeps a document's unsaved work in the recovery store: written a short delay after
// each change, removed once the document is saved (or undone back to its saved state)
// and when it closes. Only a crash or a kill leaves the entry behind.
class Autosaver : public QObject
{
    Q_OBJECT

public:
    Autosaver(Document *document, RecoveryStore store, int delayMilliseconds);
    ~Autosaver() override;

    // Adopts an entry recovered at start, so that it is replaced by this document's.
    void adoptEntry(const QString &id);
    QString entryId() const { return m_id; }
    // Writes now if there is unsaved work waiting.
    void flush();

private:
    void documentChanged();
    void write();

    Document *m_document;
    RecoveryStore m_store;
    QString m_id;
    QTimer m_timer;
    bool m_written = false;
};
