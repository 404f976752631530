#pragma once

#include "document/FileIdentity.h"

#include <QObject>
#include <QTimer>

// Watches a document's file for changes made by other programs. It knows the file as
// the document last read or wrote it, so that a save can tell whether it would write
// over someone else's newer content, and it reports such changes as they happen.
class DiskChangeGuard : public QObject
{
    Q_OBJECT

public:
    explicit DiskChangeGuard(QObject *parent = nullptr);
    ~DiskChangeGuard() override;

    // The document now holds what the file holds (it was just read or written).
    void remember(const QString &path);
    // The document's content came from the file as `identity` describes it (work
    // recovered after a crash carries the identity of the file it was based on).
    void rememberAs(const QString &path, const FileIdentity &identity);
    const FileIdentity &known() const { return m_known; }
    // Whether another program wrote other bytes to the file since remember().
    bool hasChangedOnDisk() const;
    // How long the file must be left alone before a change is looked at (150 ms unless set).
    void setSettleDelay(int milliseconds) { m_settle.setInterval(milliseconds); }

signals:
    // Another program changed the file; emitted once per new content on disk.
    void changedOnDisk();

private:
    void watch(const QString &path);
    void unwatch();
    void check();

    QString m_path;
    QString m_folder;
    FileIdentity m_known;
    FileIdentity m_reported;
    QTimer m_settle; // writers often touch a file several times in a row
};
