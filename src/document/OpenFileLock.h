#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QLockFile;

// Marks a file as open in this process, so that another running instance that opens
// the same file (through a symlink or a hard link too) can tell the user. Two locks: one
// for the resolved path, which a save that replaces the file keeps, and one for the
// file itself (device and inode), which another name of it finds; a lock whose process
// is gone is taken over.
class OpenFileLock : public QObject
{
    Q_OBJECT

public:
    explicit OpenFileLock(QObject *parent = nullptr);
    ~OpenFileLock() override;

    // Takes the file's lock; false when another running process holds it (the file is
    // open there), with that process's id in otherOwner().
    bool acquire(const QString &path);
    qint64 otherOwner() const { return m_otherOwner; }

private:
    static QStringList lockPaths(const QString &path);

    std::vector<std::unique_ptr<QLockFile>> m_locks;
    qint64 m_otherOwner = 0;
};
