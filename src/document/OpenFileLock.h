#pragma once

#include <QObject>

#include <memory>

class QLockFile;

// Marks a file as open in this process, so that another running instance that opens
// the same file (through a symlink too) can tell the user. One lock per resolved path,
// which a save that replaces the file keeps; a lock whose process is gone is taken over.
class OpenFileLock : public QObject
{
    Q_OBJECT

public:
    explicit OpenFileLock(QObject *parent = nullptr);
    ~OpenFileLock() override;
    // The lock that `owner` (its parent) holds, if any.
    static OpenFileLock *of(const QObject *owner);

    // Takes the file's lock; false when another running process holds it (the file is
    // open there), with that process's id in otherOwner().
    bool acquire(const QString &path);
    qint64 otherOwner() const { return m_otherOwner; }

    static QString lockPath(const QString &path);

private:
    const QObject *m_owner; // the key it is known by, also while the owner goes
    std::unique_ptr<QLockFile> m_lock;
    qint64 m_otherOwner = 0;
};
