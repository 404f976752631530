#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>

#include <sys/types.h>

// The one watcher of the files and folders every open document watches. Each watcher
// takes one of the user's few inotify instances (128 on many systems, shared by all of
// the user's programs), so the program holds a single one however many documents are
// open. Paths are counted: a path stays watched while anyone still asks for it.
class SharedFileWatcher : public QObject
{
    Q_OBJECT

public:
    // The program's watcher (made on first use, gone with the application object).
    static SharedFileWatcher &instance();

    void add(const QString &path);
    void remove(const QString &path);
    // Whether the file or folder now at `path` is the one watched (a file replaced by
    // rename is a new file, which a watcher does not follow by itself).
    bool isWatching(const QString &path) const;

    // Where a change was seen; also how a test plays the system's notice.
    void notice(const QString &path);

signals:
    void changed(const QString &path);

private:
    explicit SharedFileWatcher(QObject *parent);
    void watch(const QString &path);
    static ino_t inodeOf(const QString &path);

    QFileSystemWatcher m_watcher;
    QHash<QString, int> m_users;
    QHash<QString, ino_t> m_watchedInode;
};
