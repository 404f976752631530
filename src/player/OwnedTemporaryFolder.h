#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

// A private folder in the temporary folder, removed with this object and locked by this
// process while it lives, so that one left by a process that was killed can be told from
// one a running instance still uses, and cleared at the next start.
class OwnedTemporaryFolder
{
public:
    // `kind` names the folder ("cuewright-<kind>-XXXXXX").
    explicit OwnedTemporaryFolder(const QString &kind);

    bool isValid() const { return m_folder.isValid() && m_lock.isLocked(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

    // Removes this user's folders of the kind whose process is gone.
    static void removeAbandoned(const QString &kind);

private:
    static QString pattern(const QString &kind);

    QTemporaryDir m_folder;
    QLockFile m_lock;
};
