#pragma once

#include "app/lifecycle/RecoveryStore.h"

#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <memory>

class DiskChangeGuard;
class Document;
class QLockFile;

// Keeps a document's unsaved work in the recovery store: written a short delay after
// each change, removed once the document is saved (or undone back to its saved state)
// and when it closes. Only a crash, a kill or a signal leaves the entry behind; while
// this process runs, its entries are locked as its own. The entry also keeps how the
// window shows the work (video, position, zoom, selection), looked at again every delay
// while the work is unsaved, so that recovered work comes back as it was.
class Autosaver : public QObject
{
    Q_OBJECT

public:
    Autosaver(Document *document, RecoveryStore store, int delayMilliseconds, QObject *parent = nullptr);
    ~Autosaver() override;

    // The guard that knows the file this work began from, kept with the entry so that
    // saving recovered work can tell whether the file changed since; without one, none is kept.
    void setBase(const DiskChangeGuard *guard) { m_base = guard; }
    // Where the window's restorable state comes from; without one, none is kept.
    void setWindowStateSource(std::function<QVariantMap()> source);

    // Adopts an entry recovered at start, so that it is replaced by this document's.
    void adoptEntry(const RecoveryStore::Entry &entry);
    QString entryId() const { return m_id; }
    // Writes now if there is unsaved work waiting.
    void flush();
    // The user chose not to keep the work: the entry goes now.
    void discard();
    // The process ends without the user having decided about the work: write what is
    // pending and leave the entry for the next start.
    void keepForRecovery();

signals:
    // The unsaved work could not be written to the recovery store: it is not protected.
    void protectionFailed(const QString &message);

private:
    void documentChanged();
    void write();
    void refreshWindowState();
    RecoveryStore::Description describe() const;
    bool protect(const Expected<void, QString> &saved);

    Document *m_document;
    const DiskChangeGuard *m_base = nullptr;
    RecoveryStore m_store;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    std::shared_ptr<QLockFile> m_adoptedLock;
    QTimer m_timer;
    QTimer m_stateTimer;
    std::function<QVariantMap()> m_windowState;
    QVariantMap m_writtenWindowState;
    bool m_written = false;
    bool m_keep = false;
    bool m_failing = false;
};
