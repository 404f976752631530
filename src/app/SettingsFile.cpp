#include "app/SettingsFile.h"

#include "format/OwnFile.h"

#include <QFileInfo>

void SettingsFile::makeOwn(const QString &path)
{
    if (!QFileInfo(path).isSymLink())
        return;
    // What the link leads to is kept if it is settings at all; a device or a pipe is not read.
    constexpr qint64 largestSettings = 16 * 1024 * 1024;
    const QByteArray settings = OwnFile::read(path, largestSettings, OwnFile::Links::Followed).value_or(QByteArray());
    OwnFile::write(path, settings, 0600);
}
