#pragma once

#include <QObject>
#include <QStringList>

// The files opened or saved lately, newest first, kept in the settings for the File menu
// of every window.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Puts the file first, once, within the limit the preferences set.
    void note(const QString &path);
    // An edited settings file may hold any number of them; this gives at most the limit.
    QStringList list() const;
    void clear();

signals:
    void changed();
};
